#pragma once
// The program's constant vocabulary: condition names, captions, hints, column names and
// default column widths. Texts are UTF-8; convert with Utf8ToCp1251 where a text becomes
// a file key or a list entry.

#include <array>
#include <string_view>

namespace kel {

inline constexpr std::array<std::string_view, 4> WeatherNames{"Good", "Random", "Bad", "Ошибка"};
inline constexpr std::array<std::string_view, 4> WetnessNames{"Dry", "Damp", "Wet", "Ошибка"};
inline constexpr std::array<std::string_view, 4> SurfAgeNames{"New", "Normal", "Worn", "Ошибка"};
inline constexpr std::array<std::string_view, 8> TyresNames{
    "Dry tarmac", "Int. Tarmac", "Wet Tarmac", "Dry Gravel", "Int. Gravel", "Wet Gravel", "Snow", "Ошибка"};
inline constexpr std::array<std::string_view, 5> DamageNames{"Off", "Safe", "Reduced", "Realistic", "Ошибка"};

// Entry n-1: caption of group box GBn, hint of label Labeln.
inline constexpr std::array<std::string_view, 20> PanelCaptions{
    "Протяженность", "Суммарная дистанция", "Проездов", "", "Комб. лучшее время",
    "Лучшее время", "Худшее время", "", "", "Среднее время",
    "Средняя скорость", "Суммарное время результативной игры", "Общее расстояние", "Средняя скорость",
    "Описание этапа", "Уровень", "Ранг", "Успешных проездов", "Процент доездов", ""};

inline constexpr std::array<std::string_view, 20> PanelHints{
    "Протяженность этапа",
    "Суммарная дистанция всех проездов по выбранной трассе",
    "Количество завершенных проездов",
    "Порядковый номер трассы в плагине",
    "Суммарное время прохождения трех самых лучших секторов",
    "Лучшее время прохождения трассы",
    "Самое позорное время прохождения трассы",
    "",
    "",
    "Среднее время прохождения выбранной трассы",
    "Средняя скорость прохождения всех проездов трассы",
    "Суммарное время всех завершенных в игре проездов по трассам",
    "Общее расстояние, преодоленное гонщиком с начала статистики",
    "Средняя скорость всех проездов на всех трассах в игре",
    "Здесь отображается некоторая полезная информация по выбранному слева этапу",
    "Уровень мастерства",
    "Ранг гонщика",
    "Все проезды по всем трассам, завершенные до конца",
    "Доля завершенных проездов среди всех",
    ""};

inline constexpr std::array<std::string_view, 4> CheckCaptions{
    "По секторам", "В относительных единицах", "Все трассы", "Режим отображения номера проезда"};

inline constexpr std::array<std::string_view, 4> CheckHints{
    "Показ времени проезда, установленного на отдельно взятом секторе",
    "Показ результатов в таблице относительно результата, выбранного курсором",
    "Отображение проездов по всем трассам",
    "Отображение номера проезда:\rTrue - абсолютное значение\rFalse - по порядку\rGray - комбинированно"};

// Columns of the runs table: the run's own fields 0..11, then its stage and its date.
inline constexpr int ColumnCount = 14;
inline constexpr int StageColumn = 12;
inline constexpr int DateColumn = 13;
inline constexpr std::array<std::string_view, ColumnCount> ColumnNames{
    "Номер проезда", "Машина", "Класс", "Сплит 1", "Сплит 2", "Финиш",
    "Влажность пов-ти", "Износ пов-ти", "Шины", "Повреждения", "Погода", "Профиль пользователя",
    "Трасса", "Дата"};
// Captions of the time columns 3..5 while they show sector times.
inline constexpr std::array<std::string_view, 3> SectorColumnNames{"Сектор 1", "Сектор 2", "Сектор 3"};

inline constexpr std::array<std::string_view, 4> FilterLabels{"Отображать", "Не отображать", "С", "По"};

inline constexpr std::array<std::string_view, 8> FilterButtonHints{
    "Перебросить выбранную запись", "Перебросить все записи", "Применить фильтр и закрыть",
    "Сбросить фильтр", "Поменять записи местами", "Закрыть не применяя фильтр",
    "Загрузить параметры фильтра", "Сохранить параметры фильтра"};

inline constexpr std::array<std::string_view, 3> DateModeNames{
    "Не фильтровать по времени и дате", "За последн", "В интервале"};

// The stage and date columns start hidden; stored settings without their keys keep them so.
inline constexpr std::array<int, ColumnCount> DefaultColumnWidths{35, 170, 0, 60, 60, 60, 0, 0, 0, 0, 0, 0, 0, 0};

// Captions and titles shared by the window and the report tool.
inline constexpr std::string_view ProgramCaption = "Kelvara 2.2";
inline constexpr std::string_view ErrorCaption = "Ошибка";
inline constexpr std::string_view CheatCaption = "Попытка читерства";
inline constexpr std::string_view LogFileName = "zlttimes.log";
inline constexpr std::string_view StageFileName = "trinfo.bin";
inline constexpr std::string_view SettingsFileName = "Kelvara.ini";

} // namespace kel
