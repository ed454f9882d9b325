#pragma once
// The program's constant vocabulary: condition names, captions, hints, column names and
// default column widths. Captions and hints are tables of the text catalogue's identifiers.
// Texts are UTF-8; convert with Utf8ToCp1251 where a text becomes a file key or a list entry.

#include "data/Texts.h"

#include <array>
#include <string_view>

namespace kel {

// The condition names are keys of the settings and filter files, as the game writes them; the
// last entry of each list, "Ошибка", stands for a value out of range.
inline constexpr std::array<std::string_view, 4> WeatherNames{"Good", "Random", "Bad", "Ошибка"};
inline constexpr std::array<std::string_view, 4> WetnessNames{"Dry", "Damp", "Wet", "Ошибка"};
inline constexpr std::array<std::string_view, 4> SurfAgeNames{"New", "Normal", "Worn", "Ошибка"};
inline constexpr std::array<std::string_view, 8> TyresNames{
    "Dry tarmac", "Int. Tarmac", "Wet Tarmac", "Dry Gravel", "Int. Gravel", "Wet Gravel", "Snow", "Ошибка"};
inline constexpr std::array<std::string_view, 5> DamageNames{"Off", "Safe", "Reduced", "Realistic", "Ошибка"};

// Entry n-1: caption of group box GBn, hint of label Labeln.
inline constexpr std::array<TextId, 20> PanelCaptionIds{
    TextId::PanelLength, TextId::PanelTotalDistance, TextId::PanelRuns, TextId::None,
    TextId::PanelCombinedBest, TextId::PanelBestTime, TextId::PanelWorstTime, TextId::None,
    TextId::None, TextId::PanelAverageTime, TextId::PanelAverageSpeed, TextId::PanelGameTime,
    TextId::PanelGameDistance, TextId::PanelAverageSpeed, TextId::PanelStageDescription, TextId::PanelLevel,
    TextId::PanelRank, TextId::PanelFinishedRuns, TextId::PanelFinishShare, TextId::None};

inline constexpr std::array<TextId, 20> PanelHintIds{
    TextId::HintLength, TextId::HintTotalDistance, TextId::HintRuns, TextId::HintStageNumber,
    TextId::HintCombinedBest, TextId::HintBestTime, TextId::HintWorstTime, TextId::None,
    TextId::None, TextId::HintAverageTime, TextId::HintAverageSpeed, TextId::HintGameTime,
    TextId::HintGameDistance, TextId::HintGameAverageSpeed, TextId::HintStageDescription, TextId::HintLevel,
    TextId::HintRank, TextId::HintFinishedRuns, TextId::HintFinishShare, TextId::None};

inline constexpr std::array<TextId, 4> CheckCaptionIds{
    TextId::CheckSectors, TextId::CheckRelative, TextId::CheckAllStages, TextId::CheckNumberMode};

inline constexpr std::array<TextId, 4> CheckHintIds{
    TextId::HintSectors, TextId::HintRelative, TextId::HintAllStages, TextId::HintNumberMode};

// Columns of the runs table: the run's own fields 0..11, then its stage and its date.
inline constexpr int ColumnCount = 14;
inline constexpr int StageColumn = 12;
inline constexpr int DateColumn = 13;
inline constexpr std::array<TextId, ColumnCount> ColumnNameIds{
    TextId::ColumnRunNumber, TextId::ColumnCar, TextId::ColumnClass, TextId::ColumnSplit1,
    TextId::ColumnSplit2, TextId::ColumnFinish, TextId::ColumnWetness, TextId::ColumnSurfaceWear,
    TextId::ColumnTyres, TextId::ColumnDamage, TextId::ColumnWeather, TextId::ColumnProfile,
    TextId::ColumnStage, TextId::ColumnDate};
// Captions of the time columns 3..5 while they show sector times.
inline constexpr std::array<TextId, 3> SectorColumnNameIds{
    TextId::ColumnSector1, TextId::ColumnSector2, TextId::ColumnSector3};

inline constexpr std::array<TextId, 4> FilterLabelIds{
    TextId::FilterShow, TextId::FilterHide, TextId::FilterFrom, TextId::FilterTo};

inline constexpr std::array<TextId, 8> FilterButtonHintIds{
    TextId::HintMoveOne, TextId::HintMoveAll, TextId::HintApplyFilter, TextId::HintResetFilter,
    TextId::HintSwapLists, TextId::HintCloseFilter, TextId::HintLoadFilter, TextId::HintSaveFilter};

inline constexpr std::array<TextId, 3> DateModeNameIds{
    TextId::DateModeAny, TextId::DateModeLast, TextId::DateModeBetween};

// Russian tables of captions that the tests compare the window with.
inline constexpr auto ColumnNames = TextsOf(ColumnNameIds, Language::Russian);
inline constexpr auto FilterLabels = TextsOf(FilterLabelIds, Language::Russian);
inline constexpr auto FilterButtonHints = TextsOf(FilterButtonHintIds, Language::Russian);
inline constexpr auto DateModeNames = TextsOf(DateModeNameIds, Language::Russian);

// The stage and date columns start hidden; stored settings without their keys keep them so.
inline constexpr std::array<int, ColumnCount> DefaultColumnWidths{35, 170, 0, 60, 60, 60, 0, 0, 0, 0, 0, 0, 0, 0};

// Captions and titles shared by the window and the report tool.
inline constexpr std::string_view ProgramCaption = "Kelvara 2.2";
inline constexpr std::string_view LogFileName = "zlttimes.log";
inline constexpr std::string_view StageFileName = "trinfo.bin";
inline constexpr std::string_view SettingsFileName = "Kelvara.ini";

} // namespace kel
