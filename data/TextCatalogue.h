#pragma once
// The core's texts: one entry per TextId, in the order of the identifiers, each with its
// Russian and its English text (UTF-8). Include data/Texts.h, not this file.

#include <array>
#include <string_view>

namespace kel {

struct TextEntry {
    TextId Id;
    std::string_view Russian;
    std::string_view English;
};

inline constexpr std::array<TextEntry, TextCount> TextCatalogue{{
    // data/: panel captions (the stage and game panels)
    {TextId::PanelLength, "Протяженность", "Length"},
    {TextId::PanelTotalDistance, "Суммарная дистанция", "Total distance"},
    {TextId::PanelRuns, "Проездов", "Runs"},
    {TextId::PanelCombinedBest, "Комб. лучшее время", "Combined best"},
    {TextId::PanelBestTime, "Лучшее время", "Best time"},
    {TextId::PanelWorstTime, "Худшее время", "Worst time"},
    {TextId::PanelAverageTime, "Среднее время", "Average time"},
    {TextId::PanelAverageSpeed, "Средняя скорость", "Average speed"},
    {TextId::PanelGameTime, "Суммарное время результативной игры", "Total time of finished runs"},
    {TextId::PanelGameDistance, "Общее расстояние", "Distance driven"},
    {TextId::PanelStageDescription, "Описание этапа", "Stage description"},
    {TextId::PanelLevel, "Уровень", "Level"},
    {TextId::PanelRank, "Ранг", "Rank"},
    {TextId::PanelFinishedRuns, "Успешных проездов", "Finished runs"},
    {TextId::PanelFinishShare, "Процент доездов", "Finish rate"},
    // data/: panel hints
    {TextId::HintLength, "Протяженность этапа", "Length of the stage"},
    {TextId::HintTotalDistance,
     "Суммарная дистанция всех проездов по выбранной трассе",
     "Total distance of all runs on the selected stage"},
    {TextId::HintRuns, "Количество завершенных проездов", "Number of finished runs"},
    {TextId::HintStageNumber, "Порядковый номер трассы в плагине", "The stage's number in the plug-in"},
    {TextId::HintCombinedBest,
     "Суммарное время прохождения трех самых лучших секторов",
     "Sum of the three best sector times"},
    {TextId::HintBestTime, "Лучшее время прохождения трассы", "Best time on the stage"},
    {TextId::HintWorstTime, "Самое позорное время прохождения трассы", "The most embarrassing time on the stage"},
    {TextId::HintAverageTime, "Среднее время прохождения выбранной трассы", "Average time on the selected stage"},
    {TextId::HintAverageSpeed,
     "Средняя скорость прохождения всех проездов трассы",
     "Average speed of all runs on the stage"},
    {TextId::HintGameTime,
     "Суммарное время всех завершенных в игре проездов по трассам",
     "Total time of all runs finished in the game"},
    {TextId::HintGameDistance,
     "Общее расстояние, преодоленное гонщиком с начала статистики",
     "Distance the driver has covered since the statistics began"},
    {TextId::HintGameAverageSpeed,
     "Средняя скорость всех проездов на всех трассах в игре",
     "Average speed of all runs on all stages in the game"},
    {TextId::HintStageDescription,
     "Здесь отображается некоторая полезная информация по выбранному слева этапу",
     "Useful information about the stage selected on the left"},
    {TextId::HintLevel, "Уровень мастерства", "Skill level"},
    {TextId::HintRank, "Ранг гонщика", "Driver's rank"},
    {TextId::HintFinishedRuns,
     "Все проезды по всем трассам, завершенные до конца",
     "All runs on all stages driven to the finish"},
    {TextId::HintFinishShare, "Доля завершенных проездов среди всех", "Share of all runs that reached the finish"},
    // data/: display options and their hints
    {TextId::CheckSectors, "По секторам", "By sector"},
    {TextId::CheckRelative, "В относительных единицах", "Relative"},
    {TextId::CheckAllStages, "Все трассы", "All stages"},
    {TextId::CheckNumberMode, "Режим отображения номера проезда", "Run number mode"},
    {TextId::HintSectors,
     "Показ времени проезда, установленного на отдельно взятом секторе",
     "Show the time of each sector on its own"},
    {TextId::HintRelative,
     "Показ результатов в таблице относительно результата, выбранного курсором",
     "Show the table's times relative to the run at the cursor"},
    {TextId::HintAllStages, "Отображение проездов по всем трассам", "Show the runs on all stages"},
    {TextId::HintNumberMode,
     "Отображение номера проезда:\rTrue - абсолютное значение\rFalse - по порядку\rGray - комбинированно",
     "Run number shown:\rTrue - as in the log\rFalse - in order\rGray - both"},
    // data/: columns of the runs table
    {TextId::ColumnRunNumber, "Номер проезда", "Run no."},
    {TextId::ColumnCar, "Машина", "Car"},
    {TextId::ColumnClass, "Класс", "Class"},
    {TextId::ColumnSplit1, "Сплит 1", "Split 1"},
    {TextId::ColumnSplit2, "Сплит 2", "Split 2"},
    {TextId::ColumnFinish, "Финиш", "Finish"},
    {TextId::ColumnWetness, "Влажность пов-ти", "Surface wetness"},
    {TextId::ColumnSurfaceWear, "Износ пов-ти", "Surface wear"},
    {TextId::ColumnTyres, "Шины", "Tyres"},
    {TextId::ColumnDamage, "Повреждения", "Damage"},
    {TextId::ColumnWeather, "Погода", "Weather"},
    {TextId::ColumnProfile, "Профиль пользователя", "User profile"},
    {TextId::ColumnStage, "Трасса", "Stage"},
    {TextId::ColumnDate, "Дата", "Date"},
    {TextId::ColumnSector1, "Сектор 1", "Sector 1"},
    {TextId::ColumnSector2, "Сектор 2", "Sector 2"},
    {TextId::ColumnSector3, "Сектор 3", "Sector 3"},
    // data/: the filter dialog
    {TextId::FilterShow, "Отображать", "Show"},
    {TextId::FilterHide, "Не отображать", "Hide"},
    {TextId::FilterFrom, "С", "From"},
    {TextId::FilterTo, "По", "To"},
    {TextId::HintMoveOne, "Перебросить выбранную запись", "Move the selected entry"},
    {TextId::HintMoveAll, "Перебросить все записи", "Move all entries"},
    {TextId::HintApplyFilter, "Применить фильтр и закрыть", "Apply the filter and close"},
    {TextId::HintResetFilter, "Сбросить фильтр", "Reset the filter"},
    {TextId::HintSwapLists, "Поменять записи местами", "Swap the lists"},
    {TextId::HintCloseFilter, "Закрыть не применяя фильтр", "Close without applying the filter"},
    {TextId::HintLoadFilter, "Загрузить параметры фильтра", "Load filter settings"},
    {TextId::HintSaveFilter, "Сохранить параметры фильтра", "Save filter settings"},
    {TextId::DateModeAny, "Не фильтровать по времени и дате", "Do not filter by date and time"},
    {TextId::DateModeLast, "За последн", "In the last"},
    {TextId::DateModeBetween, "В интервале", "Between"},
    // data/: message box titles
    {TextId::ErrorTitle, "Ошибка", "Error"},
    {TextId::CheatTitle, "Попытка читерства", "Cheating attempt"},
    // data/: unit words; the three forms go with 1, 2..4 and 5..20 of the unit
    {TextId::UnitSecondOne, "секунда", "second"},
    {TextId::UnitSecondFew, "секунды", "seconds"},
    {TextId::UnitSecondMany, "секунд", "seconds"},
    {TextId::UnitMinuteOne, "минута", "minute"},
    {TextId::UnitMinuteFew, "минуты", "minutes"},
    {TextId::UnitMinuteMany, "минут", "minutes"},
    {TextId::UnitHourOne, "час", "hour"},
    {TextId::UnitHourFew, "часа", "hours"},
    {TextId::UnitHourMany, "часов", "hours"},
    {TextId::UnitDayOne, "день", "day"},
    {TextId::UnitDayFew, "дня", "days"},
    {TextId::UnitDayMany, "дней", "days"},
    {TextId::UnitWeekOne, "неделю", "week"},
    {TextId::UnitWeekFew, "недели", "weeks"},
    {TextId::UnitWeekMany, "недель", "weeks"},
    {TextId::UnitMonthOne, "месяц", "month"},
    {TextId::UnitMonthFew, "месяца", "months"},
    {TextId::UnitMonthMany, "месяцев", "months"},
    {TextId::UnitYearOne, "год", "year"},
    {TextId::UnitYearFew, "года", "years"},
    {TextId::UnitYearMany, "лет", "years"},
    {TextId::ByteOne, "байт", "byte"},
    {TextId::ByteFew, "байта", "bytes"},
    {TextId::ByteMany, "байт", "bytes"},
    // data/: reading and writing files (%1 is a path unless said otherwise)
    {TextId::SizeGigabytes, "%1 ГБ (%2 %3)", "%1 GB (%2 %3)"},
    {TextId::SizeMegabytes, "%1 МБ (%2 %3)", "%1 MB (%2 %3)"},
    {TextId::NotRegularFile, "Файл %1 не является обычным файлом.", "%1 is not a regular file."},
    {TextId::CannotOpenFile, "Не удалось открыть файл %1: %2", "Could not open %1: %2"},
    {TextId::CannotReadFile, "Не удалось прочитать файл %1: %2", "Could not read %1: %2"},
    {TextId::FileTooLarge,
     "Файл %1 слишком велик: %2. Читаются файлы не больше 2 ГБ.",
     "%1 is too large: %2. Only files of up to 2 GB are read."},
    {TextId::FileGrewTooLarge, "Файл %1 слишком велик: больше 2 ГБ.", "%1 is too large: more than 2 GB."},
    {TextId::CannotWriteFile, "Не удалось записать файл %1", "Could not write %1"},
    {TextId::CannotWriteFileBecause, "Не удалось записать файл %1: %2", "Could not write %1: %2"},
    {TextId::NotRegularFileReason, "Это не обычный файл", "Not a regular file"},
    {TextId::StageFileSize,
     "Размер файла %1 байт не кратен длине записи %2 байт.",
     "The file's size of %1 bytes is not a multiple of the record length, %2 bytes."},
    {TextId::MalformedDateAtLine, "Строка %1: неверная дата «%2».", "Line %1: invalid date “%2”."},
    {TextId::MalformedDate, "Неверная дата «%1».", "Invalid date “%1”."},
    {TextId::SkippedLine,
     "%1 Строка пропущена, новые проезды читаются дальше.",
     "%1 The line is skipped; new runs are still read."},
    {TextId::SkippedLines,
     "%1 Ещё строк с неверной датой: %2. Эти строки пропущены, новые проезды читаются дальше.",
     "%1 More lines with an invalid date: %2. These lines are skipped; new runs are still read."},
    // data/: the system's reasons of failed file operations
    {TextId::SystemNoEntry, "Нет такого файла или папки", "No such file or folder"},
    {TextId::SystemAccess, "Нет доступа", "Access denied"},
    {TextId::SystemPermission, "Операция не разрешена", "Operation not permitted"},
    {TextId::SystemNoSpace, "Нет места на устройстве", "No space left on the device"},
    {TextId::SystemQuota, "Превышена дисковая квота", "Disk quota exceeded"},
    {TextId::SystemReadOnly, "Файловая система доступна только для чтения", "The file system is read-only"},
    {TextId::SystemIsFolder, "Это папка, а не файл", "This is a folder, not a file"},
    {TextId::SystemNotFolder, "Путь проходит через файл, а не папку", "The path goes through a file, not a folder"},
    {TextId::SystemExists, "Файл уже существует", "The file already exists"},
    {TextId::SystemTooBig, "Файл слишком велик", "The file is too large"},
    {TextId::SystemIo, "Ошибка ввода-вывода", "Input/output error"},
    {TextId::SystemTooManyFiles, "Открыто слишком много файлов", "Too many open files"},
    {TextId::SystemNameTooLong, "Слишком длинное имя файла", "The file name is too long"},
    {TextId::SystemBusy, "Файл занят другой программой", "The file is in use by another program"},
    {TextId::SystemLinkLoop, "Слишком много символических ссылок", "Too many symbolic links"},
    {TextId::SystemNoMemory, "Недостаточно памяти", "Not enough memory"},
    {TextId::SystemErrorCode, "Ошибка %1", "Error %1"},
    // stats/: units (with the space before them) and texts of the panels and the status bar
    {TextId::UnitKilometres, " км", " km"},
    {TextId::UnitKilometresPerHour, " км/ч", " km/h"},
    {TextId::TotalTimeZero, "Суммарное время проездов равно нулю", "The total time of the runs is zero"},
    {TextId::StatusCursor, "Позиция курсора:  %1", "Cursor position:  %1"},
    {TextId::StatusDate, "Дата/время проезда:  %1", "Run date/time:  %1"},
    {TextId::StatusSpeed, "Средн. скорость проезда:  %1", "Avg. run speed:  %1"},
    // stats/: the result of a run; %1 of the result lines is the stage's name already quoted
    {TextId::QuotedName, "«%1»", "“%1”"},
    {TextId::UnnamedStage, "трасса %1", "stage %1"},
    {TextId::ResultNotFinished, "%1: не финишировал", "%1: did not finish"},
    {TextId::ResultFirstRun, "(первый проезд)", "(first run)"},
    {TextId::ResultStageRecord, "Рекорд трассы %1: %2 %3", "Stage record on %1: %2 %3"},
    {TextId::ResultCarBest, "Лучшее на %1 на трассе %2: %3 %4", "Best with %1 on %2: %3 %4"},
    {TextId::ResultClassBest, "Лучшее в классе %1 на трассе %2: %3 %4", "Best in class %1 on %2: %3 %4"},
    {TextId::ResultPlace, "%1: %2, %3-е место из %4 %5", "%1: %2, place %3 of %4 %5"},
    // table/: a condition value outside the game's list
    {TextId::ConditionOutOfRange, "Ошибка", "Error"},
    // progress/: the progress window
    {TextId::ProgressTitle, "Прогресс — %1", "Progress — %1"},
    {TextId::BestsFileSuffix, " — лучшие.csv", " — bests.csv"},
    {TextId::NoteNoTime, "без времени: %1", "no time: %1"},
    {TextId::NoteUndated, "без даты (нет на графике): %1", "no date (not on the chart): %1"},
    {TextId::TooltipRun, "Проезд %1", "Run %1"},
    {TextId::TooltipDate, "Дата: %1", "Date: %1"},
    {TextId::TooltipCar, "Машина: %1", "Car: %1"},
    {TextId::TooltipClass, "Класс: %1", "Class: %1"},
    {TextId::TooltipFinish, "Финиш: %1", "Finish: %1"},
    {TextId::TooltipGap, "Отставание от лучшего на тот момент: %1", "Behind the best at the time: %1"},
    {TextId::TooltipFirstRun, "Первый проезд на графике", "First run on the chart"},
    {TextId::TooltipNewBest, "Новый лучший результат: быстрее на %1", "New best: faster by %1"},
    {TextId::BestsProfile, "Профиль", "Profile"},
    {TextId::BestsBest, "Лучшее", "Best"},
    {TextId::BestsRun, "Проезд", "Run"},
    {TextId::BestsGap, "Отставание", "Gap"},
    {TextId::BestsTopThree, "Ср. 3 лучших", "Avg. top 3"},
    {TextId::BestsMedian, "Медиана", "Median"},
    {TextId::BestsSpread, "Разброс", "Spread"},
    {TextId::BestsWithin2, "В пределах 2 %", "Within 2%"},
    {TextId::BestsHintName,
     "Машина, класс или профиль, по которым сгруппированы проезды",
     "The car, class or profile the runs are grouped by"},
    {TextId::BestsHintRuns, "Проездов с временем", "Runs with a time"},
    {TextId::BestsHintBest, "Лучшее время финиша", "Best finish time"},
    {TextId::BestsHintRun, "Номер первого проезда с лучшим временем", "Number of the first run with the best time"},
    {TextId::BestsHintDate, "Дата и время проезда с лучшим временем", "Date and time of the run with the best time"},
    {TextId::BestsHintGap,
     "На сколько лучшее время медленнее лучшего времени трассы",
     "How much slower the best time is than the stage's best"},
    {TextId::BestsHintTopThree,
     "Среднее трех лучших времен (всех, если их меньше трех)",
     "Average of the three best times (of all, if there are fewer)"},
    {TextId::BestsHintMedian,
     "Середина упорядоченных времен: половина проездов быстрее, половина медленнее",
     "The middle of the sorted times: half the runs are faster, half slower"},
    {TextId::BestsHintSpread,
     "Стандартное отклонение времен финиша: чем меньше, тем стабильнее",
     "Standard deviation of the finish times: the smaller, the steadier"},
    {TextId::BestsHintWithin2,
     "Доля проездов, медленнее лучшего не более чем на 2 %",
     "Share of runs at most 2% slower than the best"},
    {TextId::ChooseOneStage,
     "Выберите одну трассу: времена разных трасс несравнимы",
     "Choose one stage: times of different stages cannot be compared"},
    {TextId::OtherCars, "другие", "others"},
    {TextId::GroupingLabel, "Группировать:", "Group:"},
    {TextId::GroupByCar, "по машинам", "by car"},
    {TextId::GroupByClass, "по классам", "by class"},
    {TextId::GroupByProfile, "по профилям", "by profile"},
    {TextId::ProgressButton, "Прогресс ...", "Progress ..."},
    {TextId::ProgressButtonHint,
     "График времен выбранной трассы и лучшие результаты по машинам, классам и профилям (F2)",
     "Chart of the selected stage's times and the best results by car, class and profile (F2)"},
    {TextId::BestLine, "Лучшее на тот момент", "Best at the time"},
    {TextId::NewBest, "Новый лучший", "New best"},
    {TextId::NoTimedRuns, "На этой трассе нет проездов с временем", "No runs with a time on this stage"},
    {TextId::ExportBests, "Экспорт в CSV…", "Export to CSV…"},
    {TextId::ExportBestsHint,
     "Сохранить таблицу лучших результатов в файл CSV",
     "Save the table of best results to a CSV file"},
    {TextId::ExportBestsTitle, "Экспорт лучших результатов", "Export best results"},
    // session/: messages of the start-up and the events
    {TextId::NothingPassesFilter,
     "Программа не обнаружила ниодного проезда, удовлетворяющего заданным условиям фильтра",
     "No run matches the filter's conditions"},
    {TextId::StageNumberOne, "трассы с номером %1", "stage %1"},
    {TextId::StageNumbersMany, "трасс с номерами %1", "stages %1"},
    {TextId::StagesMissing, "В файле trinfo.bin нет описания %1", "trinfo.bin has no description of %1"},
    {TextId::StagesImplausible,
     "В файле trinfo.bin у %1 указана невозможная длина",
     "trinfo.bin gives an impossible length for %1"},
    {TextId::StagesMissingAndImplausible,
     "В файле trinfo.bin нет описания %1, а у %2 указана невозможная длина",
     "trinfo.bin has no description of %1 and gives an impossible length for %2"},
    {TextId::StageLengthZeroOne, ". Ее длина считается равной нулю", ". Its length is taken as zero"},
    {TextId::StageLengthZeroMany, ". Их длина считается равной нулю", ". Their length is taken as zero"},
    {TextId::StageRunsUnnamedOne,
     ", а проезды по ней показываются без названия трассы",
     ", and its runs are shown without a stage name"},
    {TextId::StageRunsUnnamedMany,
     ", а проезды по трассам без описания показываются без названия трассы",
     ", and runs on stages without a description are shown without a stage name"},
    {TextId::DataFileUnreadable,
     "Ошибка чтения файла %1. Убедитесь, что он существует и доступен",
     "Error reading file %1. Make sure that it exists and can be read"},
    {TextId::LoadFailure,
     "У вас какая-то хренотень в файле %1. Проверьте, тот ли вообще файл вы подгрузили",
     "There's some junk in %1. Check that you loaded the right file at all"},
    {TextId::OutOfMemoryReading, "Недостаточно памяти, чтобы прочитать файл.", "Not enough memory to read the file."},
    {TextId::NoRunsInLog,
     "Программа не обнаружила в файле zlttimes.log ниодного проезда. Убедитесь, что файл имеет корректный формат "
     "или выйдите на старт любого спецучастка хотя бы один раз",
     "No runs found in zlttimes.log. Make sure that the file has the right format, or go to the start of any "
     "special stage at least once"},
    {TextId::NoFinishedRuns,
     "Программа не обнаружила ниодного успешного проезда. Финишируйте на любом спецучастке хотя бы один раз, "
     "проверьте установки фильтра или корректность данных в файле zlttimes.log",
     "No finished runs found. Finish any special stage at least once, or check the filter settings or the data in "
     "zlttimes.log"},
    {TextId::OldSettingsUnreadable,
     "прежний файл настроек не читается, поэтому он оставлен без изменений",
     "the old settings file cannot be read, so it was left unchanged"},
    {TextId::FirstStart,
     "Выберите папку, в которую игра записывает zlttimes.log и где лежит trinfo.bin (обычно это папка плагина "
     "хронометража в папке игры).",
     "Choose the folder where the game writes zlttimes.log and where trinfo.bin lies (usually the timing "
     "plug-in's folder in the game's folder)."},
    {TextId::NewRunsCount, "Новых проездов: %1", "New runs: %1"},
    {TextId::NewRunsAndMore, "Новых проездов: %1. %2 и ещё %3", "New runs: %1. %2 and %3 more"},
    {TextId::LogReadAgain, "Журнал прочитан заново", "The log was read again"},
    // cli/: the report tool
    {TextId::ReportUsage,
     "Использование: kelvara-report [параметры] stages|runs|table|stage|game|status|progress|bests|results\n"
     "  --dir DIR          папка с файлами zlttimes.log и trinfo.bin (по умолчанию текущая)\n"
     "  --filter FILE      фильтр из файла настроек или файла .fil\n"
     "  --now \"yyyy-mm-dd hh:nn:ss\"  текущий момент для фильтра по дате\n"
     "  --stage NAME       трасса (по умолчанию первая в списке)\n"
     "  --all              все трассы\n"
     "  --sort COL         столбец сортировки 0..13, 12 — трасса, 13 — дата (по умолчанию 0)\n"
     "  --desc             по убыванию\n"
     "  --sectors          время по секторам\n"
     "  --relative         время относительно строки курсора (не вместе с --all)\n"
     "  --numbers unchecked|checked|grayed  режим номера проезда\n"
     "  --cursor ROW       строка курсора (целое число от 1)\n"
     "  --by car|class|profile  группировка лучших времен (bests, по умолчанию car)\n"
     "  --format text|tsv|csv   вид вывода: text (по умолчанию), tsv или csv (числа всегда с точкой)\n"
     "  --header           строка с названиями полей (для csv всегда)\n"
     "  --follow           для game, stage и status: следить за журналом и печатать отчет заново,\n"
     "                     когда в нем появляются новые проезды (до прерывания, Ctrl+C); для results:\n"
     "                     печатать результат каждого нового проезда\n"
     "  --lang ru|en       язык текстового вывода и сообщений\n"
     "  --version          номер версии\n"
     "Команды: stages — трассы, runs — все проезды журнала, table — таблица проездов, stage — статистика\n"
     "трассы, game — статистика игры, status — строка состояния, progress — проезды трассы по порядку с\n"
     "лучшим временем на тот момент, bests — лучшие времена трассы по машинам, классам или профилям,\n"
     "results — результат каждого завершенного проезда журнала (место, отставание, новые рекорды) на\n"
     "момент проезда; фильтр, --stage и --all к нему не относятся.\n",
     "Usage: kelvara-report [options] stages|runs|table|stage|game|status|progress|bests|results\n"
     "  --dir DIR          folder with zlttimes.log and trinfo.bin (default: the current one)\n"
     "  --filter FILE      filter from a settings file or a .fil file\n"
     "  --now \"yyyy-mm-dd hh:nn:ss\"  the current moment for the date filter\n"
     "  --stage NAME       stage (default: the first in the list)\n"
     "  --all              all stages\n"
     "  --sort COL         sort column 0..13, 12 the stage, 13 the date (default 0)\n"
     "  --desc             descending order\n"
     "  --sectors          sector times\n"
     "  --relative         times relative to the cursor row (not with --all)\n"
     "  --numbers unchecked|checked|grayed  run number mode\n"
     "  --cursor ROW       cursor row (a whole number from 1)\n"
     "  --by car|class|profile  grouping of the best times (bests, default car)\n"
     "  --format text|tsv|csv   output: text (default), tsv or csv (numbers always with a point)\n"
     "  --header           a line with the field names (always for csv)\n"
     "  --follow           for game, stage and status: watch the log and print the report again\n"
     "                     whenever new runs appear in it (until interrupted, Ctrl+C); for results:\n"
     "                     print the result of every new run\n"
     "  --lang ru|en       language of the text output and the messages\n"
     "  --version          version number\n"
     "Commands: stages — the stages, runs — all runs of the log, table — the runs table, stage — the\n"
     "stage's statistics, game — the game's statistics, status — the status line, progress — the stage's\n"
     "runs in order with the best time at that moment, bests — the stage's best times by car, class or profile,\n"
     "results — the result of every finished run of the log (place, gap, new records) at the moment of\n"
     "the run; the filter, --stage and --all do not apply to it.\n"},
    {TextId::StandardOutput, "стандартный вывод", "standard output"},
    {TextId::OptionNeedsValue, "Параметру %1 нужно значение", "Option %1 needs a value"},
    {TextId::BadSortColumn,
     "Столбец сортировки должен быть числом от 0 до 13: %1",
     "The sort column must be a number from 0 to 13: %1"},
    {TextId::BadCursorRow,
     "Строка курсора должна быть целым числом не меньше 1: %1",
     "The cursor row must be a whole number of at least 1: %1"},
    {TextId::UnknownFormat, "Неизвестный вид вывода: %1", "Unknown output format: %1"},
    {TextId::BadGrouping,
     "Группировка должна быть car, class или profile: %1",
     "The grouping must be car, class or profile: %1"},
    {TextId::UnknownNumberMode, "Неизвестный режим номера проезда: %1", "Unknown run number mode: %1"},
    {TextId::UnknownOption, "Неизвестный параметр: %1", "Unknown option: %1"},
    {TextId::ExtraArgument, "Лишний аргумент: %1", "Unexpected argument: %1"},
    {TextId::NoCommand, "Не указана команда", "No command given"},
    {TextId::UnknownCommand, "Неизвестная команда: %1", "Unknown command: %1"},
    {TextId::RelativeWithAll,
     "Параметр --relative нельзя сочетать с --all: при показе всех трасс относительный режим выключен",
     "--relative cannot be combined with --all: the relative mode is off while all stages are shown"},
    {TextId::StageWithAll, "Параметр --stage нельзя сочетать с --all", "--stage cannot be combined with --all"},
    {TextId::ByOnlyForBests,
     "Параметр --by относится только к команде bests",
     "--by applies to the bests command only"},
    {TextId::FollowOnlyForReports,
     "Параметр --follow работает только с командами game, stage, status и results",
     "--follow works with the game, stage, status and results commands only"},
    {TextId::ResultsTakeNoView,
     "Параметры --filter, --stage и --all не относятся к команде results: результат проезда считается по всем "
     "проездам трассы",
     "--filter, --stage and --all do not apply to the results command: a run's result counts every run of the "
     "stage"},
    {TextId::BadNow,
     "Момент --now должен иметь вид \"yyyy-mm-dd hh:nn:ss\": %1",
     "--now must look like \"yyyy-mm-dd hh:nn:ss\": %1"},
    {TextId::UnknownStage, "Трассы с таким названием нет в списке: %1", "No stage of that name in the list: %1"},
    {TextId::UnknownLanguage, "Язык должен быть ru или en: %1", "The language must be ru or en: %1"},
    {TextId::ReaderClosedPipe, "Читающая программа закрыла канал", "The reading program closed the pipe"},
    {TextId::WriteError, "Ошибка записи в %1: %2", "Error writing to %1: %2"},
}};

// Entry n is the text of identifier n.
constexpr bool CatalogueInOrder() {
    for (std::size_t i = 0; i < TextCatalogue.size(); ++i)
        if (static_cast<std::size_t>(TextCatalogue[i].Id) != i)
            return false;
    return true;
}
static_assert(CatalogueInOrder(), "the catalogue's entries must follow the order of TextId");

} // namespace kel
