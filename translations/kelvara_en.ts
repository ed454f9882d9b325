<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="ru_RU">
<context>
    <name>kel::AboutBox</name>
    <message>
        <source>© Авторы Kelvara. Свободная программа, GPL-3.0-or-later</source>
        <translation>© The Kelvara authors. Free software, GPL-3.0-or-later</translation>
    </message>
    <message>
        <source>Для работы программы необходим плагин ZLTTimes 0.2 (для более подробной информации смотрите файл readme.txt).</source>
        <translation>The program needs the ZLTTimes 0.2 plug-in (see the file readme.txt for more).</translation>
    </message>
    <message>
        <source>Программа бесплатна и останется такой. Если она пригодилась вам в заездах, вы можете поддержать её развитие добровольным пожертвованием любого размера: это поможет выпускать новые версии чаще.</source>
        <translation>The program is free and will stay free. If it has helped you in your runs, you can support its development with a donation of any size: it helps new versions come out sooner.</translation>
    </message>
    <message>
        <source>О программе</source>
        <translation>About</translation>
    </message>
    <message>
        <source>Язык (со следующего запуска):</source>
        <translation>Language (from the next start):</translation>
    </message>
    <message>
        <source>как в системе</source>
        <translation>as the system&apos;s</translation>
    </message>
    <message>
        <source>Kelvara — статистика проездов</source>
        <translation>Kelvara: statistics of the runs</translation>
    </message>
</context>
<context>
    <name>kel::CsvExport</name>
    <message>
        <source>Файлы CSV (*.csv)</source>
        <translation>CSV files (*.csv)</translation>
    </message>
</context>
<context>
    <name>kel::FilterDialog</name>
    <message>
        <source>Сохраненные параметры фильтра (*.fil);;Все файлы (*)</source>
        <translation>Saved filter settings (*.fil);;All files (*)</translation>
    </message>
    <message>
        <source>Загрузка файла параметров фильтра</source>
        <translation>Load a filter settings file</translation>
    </message>
    <message>
        <source>Файл параметров фильтра (*.fil)</source>
        <translation>Filter settings file (*.fil)</translation>
    </message>
    <message>
        <source>Сохранение параметров фильтра</source>
        <translation>Save the filter settings</translation>
    </message>
    <message>
        <source>Дата/Время</source>
        <translation>Date/Time</translation>
    </message>
    <message>
        <source>ОК</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Закрыть</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Фильтр</source>
        <translation>Filter</translation>
    </message>
    <message>
        <source>Настоящий момент</source>
        <translation>The present moment</translation>
    </message>
    <message>
        <source>Дата/время</source>
        <translation>Date/time</translation>
    </message>
</context>
<context>
    <name>kel::Main</name>
    <message>
        <source>Статистика проездов в раллийном симуляторе.</source>
        <translation>Statistics of the runs in a rally simulator.</translation>
    </message>
    <message>
        <source>Файл настроек вместо Kelvara.ini.</source>
        <translation>Settings file instead of Kelvara.ini.</translation>
    </message>
    <message>
        <source>ФАЙЛ</source>
        <translation>FILE</translation>
    </message>
    <message>
        <source>ПАПКА</source>
        <translation>FOLDER</translation>
    </message>
    <message>
        <source>Папка с файлами zlttimes.log и trinfo.bin (без неё — текущая папка, если в ней есть оба файла, иначе запомненная).</source>
        <translation>Folder with the files zlttimes.log and trinfo.bin (without it: the current folder if it holds both files, otherwise the remembered one).</translation>
    </message>
    <message>
        <source>[ПАПКА]</source>
        <translation>[FOLDER]</translation>
    </message>
    <message>
        <source>Язык окна: ru или en (без него — из настроек или системы).</source>
        <translation>Language of the window: ru or en (without it: from the settings or the system).</translation>
    </message>
    <message>
        <source>Неизвестный язык: %1 (возможны ru и en)</source>
        <translation>Unknown language: %1 (ru and en are possible)</translation>
    </message>
</context>
<context>
    <name>kel::MainWindow</name>
    <message>
        <source>Статистика трассы</source>
        <translation>Stage statistics</translation>
    </message>
    <message>
        <source>Статистика игры</source>
        <translation>Game statistics</translation>
    </message>
    <message>
        <source>Параметры отображения</source>
        <translation>Display options</translation>
    </message>
    <message>
        <source>Выберите трассу, статистику которой хотите посмотреть</source>
        <translation>Choose the stage whose statistics you want to see</translation>
    </message>
    <message>
        <source>Фильтр ...</source>
        <translation>Filter ...</translation>
    </message>
    <message>
        <source>Нажмите здесь, чтобы задать условия выборки записей</source>
        <translation>Click here to set the conditions that select the records</translation>
    </message>
    <message>
        <source>Экспорт таблицы в CSV</source>
        <translation>Export the table to CSV</translation>
    </message>
    <message>
        <source>А удалять показанные результаты нехорошо</source>
        <translation>Deleting the results shown is not nice</translation>
    </message>
    <message>
        <source>Новый проезд скрыт фильтром</source>
        <translation>The new run is hidden by the filter</translation>
    </message>
    <message>
        <source>F3 или щелчок — перейти к проезду</source>
        <translation>F3 or a click: go to the run</translation>
    </message>
</context>
<context>
    <name>kel::Program</name>
    <message>
        <source>Выберите папку с файлами zlttimes.log и trinfo.bin</source>
        <translation>Choose the folder with the files zlttimes.log and trinfo.bin</translation>
    </message>
    <message>
        <source>Выбрать папку…</source>
        <translation>Choose a folder…</translation>
    </message>
    <message>
        <source>Демонстрационные данные</source>
        <translation>Demo data</translation>
    </message>
    <message>
        <source>Выход</source>
        <translation>Quit</translation>
    </message>
</context>
<context>
    <name>kel::RunsGrid</name>
    <message>
        <source>Экспорт таблицы в CSV…</source>
        <translation>Export the table to CSV…</translation>
    </message>
</context>
</TS>
