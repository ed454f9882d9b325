#pragma once
// Every text of the core that the user reads, by identifier, in Russian and in English.
// The texts themselves are in data/TextCatalogue.h; Text() looks them up, FillText() puts
// the values (names, numbers, paths) into the texts that have places for them: %1 .. %9.

#include "data/Language.h"

#include <array>
#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>

namespace kel {

// Unit suffixes keep the space that goes before them (" км"); texts that continue a sentence
// built elsewhere keep their leading punctuation (". Ее длина ...").
enum class TextId {
    // data/: panel captions (the stage and game panels)
    PanelLength,
    PanelTotalDistance,
    PanelRuns,
    PanelCombinedBest,
    PanelBestTime,
    PanelWorstTime,
    PanelAverageTime,
    PanelAverageSpeed,
    PanelGameTime,
    PanelGameDistance,
    PanelStageDescription,
    PanelLevel,
    PanelRank,
    PanelFinishedRuns,
    PanelFinishShare,
    // data/: panel hints
    HintLength,
    HintTotalDistance,
    HintRuns,
    HintStageNumber,
    HintCombinedBest,
    HintBestTime,
    HintWorstTime,
    HintAverageTime,
    HintAverageSpeed,
    HintGameTime,
    HintGameDistance,
    HintGameAverageSpeed,
    HintStageDescription,
    HintLevel,
    HintRank,
    HintFinishedRuns,
    HintFinishShare,
    // data/: display options and their hints
    CheckSectors,
    CheckRelative,
    CheckAllStages,
    CheckNumberMode,
    HintSectors,
    HintRelative,
    HintAllStages,
    HintNumberMode,
    // data/: columns of the runs table
    ColumnRunNumber,
    ColumnCar,
    ColumnClass,
    ColumnSplit1,
    ColumnSplit2,
    ColumnFinish,
    ColumnWetness,
    ColumnSurfaceWear,
    ColumnTyres,
    ColumnDamage,
    ColumnWeather,
    ColumnProfile,
    ColumnStage,
    ColumnDate,
    ColumnSector1,
    ColumnSector2,
    ColumnSector3,
    // data/: the filter dialog
    FilterShow,
    FilterHide,
    FilterFrom,
    FilterTo,
    HintMoveOne,
    HintMoveAll,
    HintApplyFilter,
    HintResetFilter,
    HintSwapLists,
    HintCloseFilter,
    HintLoadFilter,
    HintSaveFilter,
    DateModeAny,
    DateModeLast,
    DateModeBetween,
    // data/: message box titles
    ErrorTitle,
    CheatTitle,
    // data/: unit words; the three forms go with 1, 2..4 and 5..20 of the unit
    UnitSecondOne,
    UnitSecondFew,
    UnitSecondMany,
    UnitMinuteOne,
    UnitMinuteFew,
    UnitMinuteMany,
    UnitHourOne,
    UnitHourFew,
    UnitHourMany,
    UnitDayOne,
    UnitDayFew,
    UnitDayMany,
    UnitWeekOne,
    UnitWeekFew,
    UnitWeekMany,
    UnitMonthOne,
    UnitMonthFew,
    UnitMonthMany,
    UnitYearOne,
    UnitYearFew,
    UnitYearMany,
    ByteOne,
    ByteFew,
    ByteMany,
    // data/: reading and writing files (%1 is a path unless said otherwise)
    SizeGigabytes,
    SizeMegabytes,
    NotRegularFile,
    CannotOpenFile,
    CannotReadFile,
    FileTooLarge,
    FileGrewTooLarge,
    CannotWriteFile,
    CannotWriteFileBecause,
    NotRegularFileReason,
    StageFileSize,
    MalformedDateAtLine,
    MalformedDate,
    SkippedLine,
    SkippedLines,
    // data/: the system's reasons of failed file operations
    SystemNoEntry,
    SystemAccess,
    SystemPermission,
    SystemNoSpace,
    SystemQuota,
    SystemReadOnly,
    SystemIsFolder,
    SystemNotFolder,
    SystemExists,
    SystemTooBig,
    SystemIo,
    SystemTooManyFiles,
    SystemNameTooLong,
    SystemBusy,
    SystemLinkLoop,
    SystemNoMemory,
    SystemErrorCode,
    // stats/: units (with the space before them) and texts of the panels and the status bar
    UnitKilometres,
    UnitKilometresPerHour,
    TotalTimeZero,
    StatusCursor,
    StatusDate,
    StatusSpeed,
    // stats/: the result of a run (the status bar's note, the report's results)
    QuotedName,
    UnnamedStage,
    ResultNotFinished,
    ResultFirstRun,
    ResultStageRecord,
    ResultCarBest,
    ResultClassBest,
    ResultPlace,
    // table/: a condition value outside the game's list
    ConditionOutOfRange,
    // progress/: the progress window
    ProgressTitle,
    BestsFileSuffix,
    NoteNoTime,
    NoteUndated,
    TooltipRun,
    TooltipDate,
    TooltipCar,
    TooltipClass,
    TooltipFinish,
    TooltipGap,
    TooltipFirstRun,
    TooltipNewBest,
    BestsProfile,
    BestsBest,
    BestsRun,
    BestsGap,
    BestsTopThree,
    BestsMedian,
    BestsSpread,
    BestsWithin2,
    BestsHintName,
    BestsHintRuns,
    BestsHintBest,
    BestsHintRun,
    BestsHintDate,
    BestsHintGap,
    BestsHintTopThree,
    BestsHintMedian,
    BestsHintSpread,
    BestsHintWithin2,
    ChooseOneStage,
    OtherCars,
    GroupingLabel,
    GroupByCar,
    GroupByClass,
    GroupByProfile,
    ProgressButton,
    ProgressButtonHint,
    BestLine,
    NewBest,
    NoTimedRuns,
    ExportBests,
    ExportBestsHint,
    ExportBestsTitle,
    // session/: messages of the start-up and the events
    NothingPassesFilter,
    StageNumberOne,
    StageNumbersMany,
    StagesMissing,
    StagesImplausible,
    StagesMissingAndImplausible,
    StageLengthZeroOne,
    StageLengthZeroMany,
    StageRunsUnnamedOne,
    StageRunsUnnamedMany,
    DataFileUnreadable,
    LoadFailure,
    OutOfMemoryReading,
    NoRunsInLog,
    NoFinishedRuns,
    OldSettingsUnreadable,
    FirstStart,
    NewRunsCount,
    NewRunsAndMore,
    LogReadAgain,
    // cli/: the report tool
    ReportUsage,
    StandardOutput,
    OptionNeedsValue,
    BadSortColumn,
    BadCursorRow,
    UnknownFormat,
    BadGrouping,
    UnknownNumberMode,
    UnknownOption,
    ExtraArgument,
    NoCommand,
    UnknownCommand,
    RelativeWithAll,
    StageWithAll,
    ByOnlyForBests,
    FollowOnlyForReports,
    ResultsTakeNoView,
    BadNow,
    UnknownStage,
    UnknownLanguage,
    ReaderClosedPipe,
    WriteError,
    Count,
    None = Count, // an empty place in a table of captions: no text in any language
};

inline constexpr std::size_t TextCount = static_cast<std::size_t>(TextId::Count);

} // namespace kel

#include "data/TextCatalogue.h"

namespace kel {

// The text of `id` in `language` (UTF-8); empty for TextId::None.
constexpr std::string_view Text(TextId id, Language language) {
    if (id == TextId::None)
        return {};
    const TextEntry& entry = TextCatalogue[static_cast<std::size_t>(id)];
    return language == Language::English ? entry.English : entry.Russian;
}

// `pattern` with %1 .. %9 replaced by the values in that order, in one pass: a value that
// itself contains "%1" stays as it is. A '%' not followed by a digit 1..9 is kept; a place
// without a value is kept as written.
std::string FillText(std::string_view pattern, std::initializer_list<std::string_view> values);

// Text(id, language) filled with `values`.
inline std::string Text(TextId id, Language language, std::initializer_list<std::string_view> values) {
    return FillText(Text(id, language), values);
}

// The texts of a table of identifiers, for tables that keep a constant list of captions.
template <std::size_t N>
constexpr std::array<std::string_view, N> TextsOf(const std::array<TextId, N>& ids, Language language) {
    std::array<std::string_view, N> texts{};
    for (std::size_t i = 0; i < N; ++i)
        texts[i] = Text(ids[i], language);
    return texts;
}

} // namespace kel
