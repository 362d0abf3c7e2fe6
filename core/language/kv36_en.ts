<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>AboutBox</name>
    <message>
        <source>O aplikaci</source>
        <translation>About</translation>
    </message>
    <message>
        <source>Údaje o aplikaci</source>
        <translation>Program information</translation>
    </message>
    <message>
        <source>Ikona programu</source>
        <translation>Program icon</translation>
    </message>
    <message>
        <source>Název produktu</source>
        <translation>Product name</translation>
    </message>
    <message>
        <source>KV-36</source>
        <translation>KV-36</translation>
    </message>
    <message>
        <source>Název firmy</source>
        <translation>Company name</translation>
    </message>
    <message>
        <source>KORAVEL</source>
        <translation>KORAVEL</translation>
    </message>
    <message>
        <source>Verze</source>
        <translation>Version</translation>
    </message>
    <message>
        <source>Verze aplikace</source>
        <translation>Program version</translation>
    </message>
    <message>
        <source>Oddělovač</source>
        <translation>Separator</translation>
    </message>
    <message>
        <source>Minimální systémové požadavky</source>
        <translation>Minimum system requirements</translation>
    </message>
    <message>
        <source>-CPU Pentium 100 MHz nebo vyšší</source>
        <translation>-Pentium 100 MHz CPU or faster</translation>
    </message>
    <message>
        <source>-Microsoft Windows 95/98/ME</source>
        <translation>-Microsoft Windows 95/98/ME</translation>
    </message>
    <message>
        <source>-3 MB volného místa na pevném disku</source>
        <translation>-3 MB of free hard disk space</translation>
    </message>
    <message>
        <source>-Systémová paměť 32 MB (64 MB doporučeno)</source>
        <translation>-32 MB of memory (64 MB recommended)</translation>
    </message>
    <message>
        <source>-VGA nebo vyšší rozlišení</source>
        <translation>-VGA or higher resolution</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>CommissioningReport</name>
    <message>
        <source>&lt;h2&gt;Týdenní režim&lt;/h2&gt;&lt;table border=&quot;1&quot; cellspacing=&quot;0&quot; cellpadding=&quot;4&quot; width=&quot;100%&quot;&gt;&lt;thead&gt;&lt;tr&gt;&lt;th&gt;Den&lt;/th&gt;</source>
        <translation>&lt;h2&gt;Weekly schedule&lt;/h2&gt;&lt;table border=&quot;1&quot; cellspacing=&quot;0&quot; cellpadding=&quot;4&quot; width=&quot;100%&quot;&gt;&lt;thead&gt;&lt;tr&gt;&lt;th&gt;Day&lt;/th&gt;</translation>
    </message>
    <message>
        <source>&lt;th&gt;Úroveň %1&lt;/th&gt;</source>
        <translation>&lt;th&gt;Level %1&lt;/th&gt;</translation>
    </message>
    <message>
        <source>&lt;/table&gt;&lt;p&gt;Úroveň: začátek (hodina:minuta) a pod ním posuv teploty vody.&lt;/p&gt;</source>
        <translation>&lt;/table&gt;&lt;p&gt;Level: start time (hour:minute) and below it the flow temperature shift.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;body&gt;&lt;h1&gt;Protokol o nastavení regulátoru&lt;/h1&gt;&lt;table cellpadding=&quot;2&quot;&gt;</source>
        <translation>&lt;html&gt;&lt;body&gt;&lt;h1&gt;Regulator commissioning report&lt;/h1&gt;&lt;table cellpadding=&quot;2&quot;&gt;</translation>
    </message>
    <message>
        <source>Typ přístroje</source>
        <translation>Device type</translation>
    </message>
    <message>
        <source>Verze přístroje</source>
        <translation>Device version</translation>
    </message>
    <message>
        <source>Adresa regulátoru</source>
        <translation>Regulator address</translation>
    </message>
    <message>
        <source>Datum a čas</source>
        <translation>Date and time</translation>
    </message>
    <message>
        <source>Technik</source>
        <translation>Technician</translation>
    </message>
    <message>
        <source>&lt;tr&gt;&lt;td&gt;&lt;b&gt;Poznámka:&lt;/b&gt;&lt;/td&gt;&lt;td&gt;%1&lt;/td&gt;&lt;/tr&gt;&lt;/table&gt;</source>
        <translation>&lt;tr&gt;&lt;td&gt;&lt;b&gt;Note:&lt;/b&gt;&lt;/td&gt;&lt;td&gt;%1&lt;/td&gt;&lt;/tr&gt;&lt;/table&gt;</translation>
    </message>
    <message>
        <source>&lt;p&gt;&lt;/p&gt;&lt;table border=&quot;1&quot; cellspacing=&quot;0&quot; cellpadding=&quot;4&quot; width=&quot;100%&quot;&gt;&lt;thead&gt;&lt;tr&gt;&lt;th colspan=&quot;3&quot; align=&quot;left&quot;&gt;&lt;big&gt;%1&lt;/big&gt;&lt;/th&gt;&lt;/tr&gt;&lt;tr&gt;&lt;th width=&quot;16%&quot;&gt;Parametr&lt;/th&gt;&lt;th&gt;Popis&lt;/th&gt;&lt;th width=&quot;30%&quot;&gt;Hodnota&lt;/th&gt;&lt;/tr&gt;&lt;/thead&gt;</source>
        <translation>&lt;p&gt;&lt;/p&gt;&lt;table border=&quot;1&quot; cellspacing=&quot;0&quot; cellpadding=&quot;4&quot; width=&quot;100%&quot;&gt;&lt;thead&gt;&lt;tr&gt;&lt;th colspan=&quot;3&quot; align=&quot;left&quot;&gt;&lt;big&gt;%1&lt;/big&gt;&lt;/th&gt;&lt;/tr&gt;&lt;tr&gt;&lt;th width=&quot;16%&quot;&gt;Parameter&lt;/th&gt;&lt;th&gt;Description&lt;/th&gt;&lt;th width=&quot;30%&quot;&gt;Value&lt;/th&gt;&lt;/tr&gt;&lt;/thead&gt;</translation>
    </message>
    <message>
        <source>&lt;p&gt;&lt;br&gt;&lt;br&gt;Podpis technika: ..............................&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;p&gt;&lt;br&gt;&lt;br&gt;Technician&apos;s signature: ..............................&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
</context>
<context>
    <name>CurveChart</name>
    <message>
        <source>Zobrazený úsek neobsahuje žádná měření.</source>
        <translation>The range shown holds no measurements.</translation>
    </message>
    <message>
        <source>venkovní teplota [°C]</source>
        <translation>outdoor temperature [°C]</translation>
    </message>
    <message>
        <source>teplota vody</source>
        <translation>flow temp.</translation>
    </message>
    <message>
        <source>žádaná</source>
        <translation>setpoint</translation>
    </message>
    <message>
        <source>topná křivka</source>
        <translation>heating curve</translation>
    </message>
    <message>
        <source>omezení požadované hodnoty %1 °C</source>
        <translation>setpoint limit %1 °C</translation>
    </message>
</context>
<context>
    <name>DeviationChart</name>
    <message>
        <source>Graf QZR 17 (odchylka)</source>
        <translation>QZR 17 chart (deviation)</translation>
    </message>
</context>
<context>
    <name>HistoryChart</name>
    <message>
        <source>Záznam zatím neobsahuje žádná měření.</source>
        <translation>The log holds no measurements yet.</translation>
    </message>
</context>
<context>
    <name>LinkStatus</name>
    <message>
        <source>Port není otevřen</source>
        <translation>Port not open</translation>
    </message>
    <message>
        <source>%1 – zařízení portu není připojeno</source>
        <translation>%1 – port device not connected</translation>
    </message>
    <message>
        <source>%1 – spojení v pořádku</source>
        <translation>%1 – link OK</translation>
    </message>
    <message>
        <source>%1 – regulátor neodpovídá od %2</source>
        <translation>%1 – regulator not responding since %2</translation>
    </message>
    <message>
        <source>Bez výpadků spojení</source>
        <translation>No link outages</translation>
    </message>
    <message>
        <source>Poslední výpadky spojení:</source>
        <translation>Recent link outages:</translation>
    </message>
    <message>
        <source>trvá</source>
        <translation>ongoing</translation>
    </message>
    <message>
        <source>%1 – %2</source>
        <translation>%1 – %2</translation>
    </message>
    <message>
        <source>%1 – spojení se serverem je přerušeno</source>
        <translation>%1 – connection to the server lost</translation>
    </message>
</context>
<context>
    <name>LoadedMarks</name>
    <message>
        <source>Změněno načtením ze souboru</source>
        <translation>Changed by loading from a file</translation>
    </message>
</context>
<context>
    <name>LogHistory</name>
    <message>
        <source>Soubor %1 nelze přečíst.</source>
        <translation>Cannot read file %1.</translation>
    </message>
    <message>
        <source>Soubor %1 není záznam měření.</source>
        <translation>File %1 is not a measurement log.</translation>
    </message>
    <message>
        <source>V záznamu %1 není žádný čitelný řádek s měřením.</source>
        <translation>Log %1 holds no readable line with a measurement.</translation>
    </message>
    <message>
        <source>Řádků s měřením: %L1, vynechaných řádků: %L2</source>
        <translation>Lines with measurements: %L1, lines skipped: %L2</translation>
    </message>
    <message>
        <source>, výpadků regulátoru: %L1</source>
        <translation>, regulator outages: %L1</translation>
    </message>
    <message>
        <source>, datum odhadnuto u %L1 měření od řádku %L2</source>
        <translation>, date guessed for %L1 measurements from line %L2</translation>
    </message>
</context>
<context>
    <name>LogHistoryWindow</name>
    <message>
        <source>teplota vody</source>
        <translation>flow temp.</translation>
    </message>
    <message>
        <source>venkovní teplota</source>
        <translation>outdoor temp.</translation>
    </message>
    <message>
        <source>žádaná</source>
        <translation>setpoint</translation>
    </message>
    <message>
        <source>útlum</source>
        <translation>setback</translation>
    </message>
    <message>
        <source>odchylka</source>
        <translation>deviation</translation>
    </message>
    <message>
        <source>Soubor %1 nelze uložit</source>
        <translation>Cannot save file %1</translation>
    </message>
    <message>
        <source>Zobrazeno:</source>
        <translation>Shown:</translation>
    </message>
    <message>
        <source>Nástroje</source>
        <translation>Tools</translation>
    </message>
    <message>
        <source>Obnovit</source>
        <translation>Refresh</translation>
    </message>
    <message>
        <source>Celý záznam</source>
        <translation>Whole log</translation>
    </message>
    <message>
        <source>Přiblížit</source>
        <translation>Zoom in</translation>
    </message>
    <message>
        <source>Oddálit</source>
        <translation>Zoom out</translation>
    </message>
    <message>
        <source>Export do CSV...</source>
        <translation>Export to CSV...</translation>
    </message>
    <message>
        <source>Uložit obrázek...</source>
        <translation>Save picture...</translation>
    </message>
    <message>
        <source>Průběh záznamu</source>
        <translation>Log over time</translation>
    </message>
    <message>
        <source>Kolečko nebo + a - přiblíží, tažení nebo šipky posunou, tažení pravým tlačítkem přiblíží vybraný obdélník, Home ukáže celý záznam, Ctrl se šipkou posune kurzor.</source>
        <translation>The wheel or + and - zoom, dragging or the arrows pan, dragging with the right button zooms to the rectangle drawn, Home shows the whole log, Ctrl with an arrow moves the cursor.</translation>
    </message>
    <message>
        <source>Kolečko přiblíží, tažení posune, tažení pravým tlačítkem přiblíží obdélník, Home ukáže celý záznam</source>
        <translation>The wheel zooms, dragging pans, dragging with the right button zooms to a rectangle, Home shows the whole log</translation>
    </message>
    <message>
        <source>Kurzor:</source>
        <translation>Cursor:</translation>
    </message>
    <message>
        <source>Topná křivka</source>
        <translation>Heating curve</translation>
    </message>
    <message>
        <source>Teplota vody a žádaná teplota zobrazeného úseku proti venkovní teplotě, s topnou křivkou regulátoru</source>
        <translation>Flow temperature and setpoint of the range shown against the outdoor temperature, with the regulator&apos;s heating curve</translation>
    </message>
    <message>
        <source>Křivka:</source>
        <translation>Curve:</translation>
    </message>
    <message>
        <source>Z regulátoru</source>
        <translation>From the regulator</translation>
    </message>
    <message>
        <source>Ze sady parametrů...</source>
        <translation>From a parameter set...</translation>
    </message>
    <message>
        <source>Otevřít záznam</source>
        <translation>Open log</translation>
    </message>
    <message>
        <source>Záznam měření (*.txt);;Všechny soubory (*)</source>
        <translation>Measurement log (*.txt);;All files (*)</translation>
    </message>
    <message>
        <source>Záznam měření</source>
        <translation>Measurement log</translation>
    </message>
    <message>
        <source>Export do CSV</source>
        <translation>Export to CSV</translation>
    </message>
    <message>
        <source>Soubor CSV (*.csv)</source>
        <translation>CSV file (*.csv)</translation>
    </message>
    <message>
        <source>Uložit obrázek</source>
        <translation>Save picture</translation>
    </message>
    <message>
        <source>Obrázek PNG (*.png)</source>
        <translation>PNG picture (*.png)</translation>
    </message>
    <message>
        <source>Topná křivka ze sady parametrů</source>
        <translation>Heating curve from a parameter set</translation>
    </message>
    <message>
        <source>Sada parametrů (*.qzr)</source>
        <translation>Parameter set (*.qzr)</translation>
    </message>
    <message>
        <source>Sada parametrů</source>
        <translation>Parameter set</translation>
    </message>
    <message>
        <source>Záznam měření - %1</source>
        <translation>Measurement log - %1</translation>
    </message>
    <message>
        <source>Průběh v čase</source>
        <translation>Over time</translation>
    </message>
    <message>
        <source>záznam zatím neobsahuje žádná měření</source>
        <translation>the log holds no measurements yet</translation>
    </message>
    <message>
        <source>%1 až %2, měření: %L3</source>
        <translation>%1 to %2, measurements: %L3</translation>
    </message>
    <message>
        <source>ukažte myší do grafu nebo posuňte kurzor klávesami Ctrl a šipkou</source>
        <translation>point into the chart, or move the cursor with Ctrl and an arrow key</translation>
    </message>
    <message>
        <source>SP_0 %1 °C, SP20 %2 °C</source>
        <translation>SP_0 %1 °C, SP20 %2 °C</translation>
    </message>
    <message>
        <source>ze sady parametrů %1: %2</source>
        <translation>from parameter set %1: %2</translation>
    </message>
    <message>
        <source>z regulátoru, jak ji naposledy přečetlo nastavení regulátoru: %1</source>
        <translation>from the regulator, as the regulator settings last read it: %1</translation>
    </message>
    <message>
        <source>z regulátoru zatím nepřečtena (Konfigurace &gt; Nastavení regulátoru), nebo zvolte sadu parametrů</source>
        <translation>not read from the regulator yet (Configuration &gt; Regulator settings), or choose a parameter set</translation>
    </message>
    <message>
        <source>%1: bez měření (mezera nebo výpadek v záznamu)</source>
        <translation>%1: no measurement (a gap or an outage in the log)</translation>
    </message>
</context>
<context>
    <name>NetworkAddress</name>
    <message>
        <source>&quot;%1&quot; není platná adresa serveru, %2</source>
        <translation>&quot;%1&quot; is not a valid server address, %2</translation>
    </message>
    <message>
        <source>adresa serveru má tvar tcp://POČÍTAČ:PORT nebo rfc2217://POČÍTAČ:PORT</source>
        <translation>a server address reads tcp://HOST:PORT or rfc2217://HOST:PORT</translation>
    </message>
    <message>
        <source>chybí název nebo IP adresa serveru</source>
        <translation>the server name or IP address is missing</translation>
    </message>
    <message>
        <source>chybí číslo portu TCP</source>
        <translation>the TCP port number is missing</translation>
    </message>
    <message>
        <source>port TCP musí být 1 až 65535</source>
        <translation>the TCP port must be 1 to 65535</translation>
    </message>
    <message>
        <source>za portem TCP nesmí nic být</source>
        <translation>nothing may follow the TCP port</translation>
    </message>
</context>
<context>
    <name>ParamSetCommands</name>
    <message>
        <source>Uložit do souboru...</source>
        <translation>Save to File...</translation>
    </message>
    <message>
        <source>Načíst ze souboru...</source>
        <translation>Load from File...</translation>
    </message>
    <message>
        <source>Porovnat se souborem...</source>
        <translation>Compare with File...</translation>
    </message>
    <message>
        <source>Protokol o nastavení...</source>
        <translation>Commissioning Report...</translation>
    </message>
    <message>
        <source>Sada parametrů</source>
        <translation>Parameter set</translation>
    </message>
    <message>
        <source>Pole &quot;%1&quot; (karta %2) má hodnotu mimo rozsah, který regulátor přijímá: %3.
Sada nebyla uložena.</source>
        <translation>Field &quot;%1&quot; (page %2) holds a value outside the range the regulator accepts: %3.
The set was not saved.</translation>
    </message>
    <message>
        <source>Uložit sadu parametrů</source>
        <translation>Save parameter set</translation>
    </message>
    <message>
        <source>Sada parametrů (*.qzr)</source>
        <translation>Parameter set (*.qzr)</translation>
    </message>
    <message>
        <source>Soubor %1 není platná sada parametrů, nic nebylo načteno.
%2</source>
        <translation>File %1 is not a valid parameter set; nothing was loaded.
%2</translation>
    </message>
    <message>
        <source>Načíst sadu parametrů</source>
        <translation>Load parameter set</translation>
    </message>
    <message>
        <source>Sada parametrů je načtena, změněných polí: %1.
Do regulátoru se zapíše až tlačítky Zápis.</source>
        <translation>The parameter set is loaded; fields changed: %1.
It goes to the regulator only with the Write buttons.</translation>
    </message>
    <message>
        <source>Porovnat se sadou parametrů</source>
        <translation>Compare with parameter set</translation>
    </message>
    <message>
        <source>Hodnoty načtené ze souboru ještě nebyly zapsány do regulátoru.
Přečíst regulátor a načtené hodnoty zahodit?</source>
        <translation>The values loaded from the file have not been written to the regulator yet.
Read the regulator and discard the loaded values?</translation>
    </message>
    <message>
        <source>Dotaz</source>
        <translation>Confirm</translation>
    </message>
    <message>
        <source>Vstupní signály alarmů (tabulka 20) se vynechávají: regulátor s firmwarem starším než 3. 10. 2008 je nemá.</source>
        <translation>The alarm input signals (table 20) are left out: a regulator with firmware older than 3 October 2008 has none.</translation>
    </message>
    <message>
        <source>Sada parametrů je z přístroje typu &quot;%1&quot;, připojený regulátor je typu &quot;%2&quot;.
Přesto ji načíst?</source>
        <translation>The parameter set comes from a device of type &quot;%1&quot;; the connected regulator is of type &quot;%2&quot;.
Load it all the same?</translation>
    </message>
    <message>
        <source>Sada nemá hodnoty těchto karet, zůstaly, jak byly: %1.</source>
        <translation>The set has no values for these pages; they stay as they were: %1.</translation>
    </message>
    <message>
        <source>Sada nemá program těchto dnů, zůstal, jak byl: %1.</source>
        <translation>The set has no schedule for these days; it stays as it was: %1.</translation>
    </message>
</context>
<context>
    <name>ParamSetFile</name>
    <message>
        <source>%1 až %2</source>
        <translation>%1 to %2</translation>
    </message>
    <message>
        <source>hodnota &quot;%1&quot; pole %2 není číslo</source>
        <translation>value &quot;%1&quot; of field %2 is not a number</translation>
    </message>
    <message>
        <source>hodnota %1 pole %2 není konečné číslo</source>
        <translation>value %1 of field %2 is not a finite number</translation>
    </message>
    <message>
        <source>hodnota %1 pole %2 je mimo rozsah %3</source>
        <translation>value %1 of field %2 is outside the range %3</translation>
    </message>
    <message>
        <source>soubor není sada parametrů KV-36</source>
        <translation>the file is not a KV-36 parameter set</translation>
    </message>
    <message>
        <source>sada je ve formátu verze %1, program čte verzi %2</source>
        <translation>the set is in format version %1, the program reads version %2</translation>
    </message>
    <message>
        <source>text není v kódování UTF-8</source>
        <translation>the text is not UTF-8 encoded</translation>
    </message>
    <message>
        <source>čeká se JMÉNO=hodnota, ne &quot;%1&quot;</source>
        <translation>expected NAME=value, not &quot;%1&quot;</translation>
    </message>
    <message>
        <source>neznámá položka hlavičky &quot;%1&quot;</source>
        <translation>unknown header item &quot;%1&quot;</translation>
    </message>
    <message>
        <source>položka %1 je uvedena podruhé</source>
        <translation>item %1 is given twice</translation>
    </message>
    <message>
        <source>čas uložení &quot;%1&quot; není platný</source>
        <translation>saving time &quot;%1&quot; is not valid</translation>
    </message>
    <message>
        <source>neznámý oddíl &quot;%1&quot;</source>
        <translation>unknown section &quot;%1&quot;</translation>
    </message>
    <message>
        <source>tabulka %1 je v souboru podruhé</source>
        <translation>table %1 is in the file twice</translation>
    </message>
    <message>
        <source>pole %1 je uvedeno podruhé</source>
        <translation>field %1 is given twice</translation>
    </message>
    <message>
        <source>tabulka %1 nemá pole &quot;%2&quot;</source>
        <translation>table %1 has no field &quot;%2&quot;</translation>
    </message>
    <message>
        <source>tabulce %1 chybí pole %2</source>
        <translation>table %1 lacks field %2</translation>
    </message>
    <message>
        <source>Řádek %1: %2</source>
        <translation>Line %1: %2</translation>
    </message>
    <message>
        <source>Soubor %1 nelze uložit: %2</source>
        <translation>Cannot save file %1: %2</translation>
    </message>
    <message>
        <source>soubor na disku nemá celou délku</source>
        <translation>the file on disk is not complete</translation>
    </message>
    <message>
        <source>řádek nemá konec, soubor je useknutý</source>
        <translation>the line has no end; the file is cut short</translation>
    </message>
    <message>
        <source>sada nemá žádnou tabulku parametrů ani dne</source>
        <translation>the set holds no parameter table and no day</translation>
    </message>
    <message>
        <source>Soubor nelze otevřít: %1</source>
        <translation>Cannot open the file: %1</translation>
    </message>
    <message>
        <source>Soubor je na sadu parametrů příliš velký</source>
        <translation>The file is too large for a parameter set</translation>
    </message>
</context>
<context>
    <name>PortChooser</name>
    <message>
        <source>Porty v počítači</source>
        <translation>Computer ports</translation>
    </message>
    <message>
        <source>Sériové porty, které počítač právě má:</source>
        <translation>Serial ports present on this computer:</translation>
    </message>
    <message>
        <source>Sériové porty</source>
        <translation>Serial ports</translation>
    </message>
    <message>
        <source>Port</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>Popis</source>
        <translation>Description</translation>
    </message>
    <message>
        <source>Výrobce</source>
        <translation>Manufacturer</translation>
    </message>
    <message>
        <source>Sériové číslo</source>
        <translation>Serial number</translation>
    </message>
    <message>
        <source>USB VID:PID</source>
        <translation>USB VID:PID</translation>
    </message>
    <message>
        <source>Stálý název</source>
        <translation>Persistent name</translation>
    </message>
    <message>
        <source>Přiřadit jako:</source>
        <translation>Assign as:</translation>
    </message>
    <message>
        <source>Přiřadit jako</source>
        <translation>Assign as</translation>
    </message>
    <message>
        <source>COM </source>
        <translation>COM </translation>
    </message>
    <message>
        <source>Přiřadí vybraný port číslu COM a použije ho</source>
        <translation>Assigns the selected port to the COM number and uses it</translation>
    </message>
    <message>
        <source>Přiřadit</source>
        <translation>Assign</translation>
    </message>
    <message>
        <source>Zavřít</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Zařízení %1 už není připojeno.</source>
        <translation>Device %1 is no longer connected.</translation>
    </message>
    <message>
        <source>Port %1 nemá číslo COM.</source>
        <translation>Port %1 has no COM number.</translation>
    </message>
    <message>
        <source>%1 už vede na %2.
Opravdu ho chcete přesměrovat na %3?</source>
        <translation>%1 already leads to %2.
Do you really want to redirect it to %3?</translation>
    </message>
    <message>
        <source>Dotaz</source>
        <translation>Confirm</translation>
    </message>
    <message>
        <source>Odkaz %1 nelze zapsat: %2.</source>
        <translation>Cannot write the link %1: %2.</translation>
    </message>
</context>
<context>
    <name>PortNames</name>
    <message>
        <source>porty COM čísluje Windows</source>
        <translation>Windows numbers the COM ports itself</translation>
    </message>
    <message>
        <source>nastavení nelze zapsat</source>
        <translation>the settings cannot be written</translation>
    </message>
    <message>
        <source>přístup odepřen</source>
        <translation>access denied</translation>
    </message>
    <message>
        <source>složka je jen pro čtení</source>
        <translation>the folder is read-only</translation>
    </message>
    <message>
        <source>na disku není místo</source>
        <translation>no space left on the disk</translation>
    </message>
    <message>
        <source>v jeho místě je složka</source>
        <translation>a folder is in its place</translation>
    </message>
    <message>
        <source>složka neexistuje</source>
        <translation>the folder does not exist</translation>
    </message>
    <message>
        <source>složku portů %1 nelze vytvořit</source>
        <translation>cannot create the port folder %1</translation>
    </message>
</context>
<context>
    <name>ReportPreview</name>
    <message>
        <source>Náhled protokolu</source>
        <translation>Report preview</translation>
    </message>
    <message>
        <source>Uložit protokol jako PDF</source>
        <translation>Save report as PDF</translation>
    </message>
    <message>
        <source>Dokument PDF (*.pdf)</source>
        <translation>PDF document (*.pdf)</translation>
    </message>
    <message>
        <source>Protokol se nepodařilo uložit do souboru %1.</source>
        <translation>The report could not be saved to file %1.</translation>
    </message>
    <message>
        <source>Protokol o nastavení</source>
        <translation>Commissioning report</translation>
    </message>
    <message>
        <source>Protokol_QZR17_%1.pdf</source>
        <translation>Commissioning_report_QZR17_%1.pdf</translation>
    </message>
</context>
<context>
    <name>SerialLine</name>
    <message>
        <source>Sériový port %1 nelze otevřít</source>
        <translation>Cannot open serial port %1</translation>
    </message>
    <message>
        <source>Nepodařila se reinicializace portu %1</source>
        <translation>Failed to reinitialize port %1</translation>
    </message>
</context>
<context>
    <name>ServerPanel</name>
    <message>
        <source>Server v síti</source>
        <translation>Network server</translation>
    </message>
    <message>
        <source>Adresa:</source>
        <translation>Address:</translation>
    </message>
    <message>
        <source>Název nebo IP adresa sériového serveru</source>
        <translation>Name or IP address of the serial server</translation>
    </message>
    <message>
        <source>Adresa serveru</source>
        <translation>Server address</translation>
    </message>
    <message>
        <source>Port TCP:</source>
        <translation>TCP port:</translation>
    </message>
    <message>
        <source>Port TCP</source>
        <translation>TCP port</translation>
    </message>
    <message>
        <source>Jak server přenáší data sériové linky</source>
        <translation>How the server carries the serial line&apos;s data</translation>
    </message>
    <message>
        <source>Druh serveru</source>
        <translation>Server kind</translation>
    </message>
    <message>
        <source>TCP (data beze změny)</source>
        <translation>TCP (data unchanged)</translation>
    </message>
    <message>
        <source>RFC 2217 (nastaví i linku)</source>
        <translation>RFC 2217 (sets the line too)</translation>
    </message>
    <message>
        <source>Přiřadit jako:</source>
        <translation>Assign as:</translation>
    </message>
    <message>
        <source>Přiřadit server jako</source>
        <translation>Assign the server as</translation>
    </message>
    <message>
        <source>COM </source>
        <translation>COM </translation>
    </message>
    <message>
        <source>Jednou se k serveru připojí a řekne, zda odpověděl</source>
        <translation>Connects to the server once and tells whether it answered</translation>
    </message>
    <message>
        <source>Vyzkoušet</source>
        <translation>Test</translation>
    </message>
    <message>
        <source>Přiřadí server číslu COM a použije ho</source>
        <translation>Assigns the server to the COM number and uses it</translation>
    </message>
    <message>
        <source>Přiřadit server</source>
        <translation>Assign server</translation>
    </message>
    <message>
        <source>&quot;%1&quot; není název ani IP adresa serveru.</source>
        <translation>&quot;%1&quot; is not a server name or IP address.</translation>
    </message>
    <message>
        <source>Server %1 přijal spojení, ale nepotvrdil nastavení linky (RFC 2217).</source>
        <translation>Server %1 accepted the connection but did not confirm the line settings (RFC 2217).</translation>
    </message>
    <message>
        <source>Server %1 přijal spojení.</source>
        <translation>Server %1 accepted the connection.</translation>
    </message>
    <message>
        <source>Server %1 odpověděl a nastavil linku na %2 Bd.</source>
        <translation>Server %1 answered and set the line to %2 Bd.</translation>
    </message>
    <message>
        <source>Se serverem %1 se nelze spojit: %2.</source>
        <translation>Cannot connect to server %1: %2.</translation>
    </message>
    <message>
        <source>Server %1 přijal spojení, ale na dotaz na stanici %2 nepřišlo nic: server data nepředává, nebo jeho linka nemá %3 Bd, 8 datových bitů, sudou paritu a 1 stop bit, nebo na adrese %2 není regulátor.</source>
        <translation>Server %1 accepted the connection, but nothing came back to a request to station %2: the server does not pass data on, or its line is not set to %3 Bd, 8 data bits, even parity and 1 stop bit, or there is no regulator at address %2.</translation>
    </message>
    <message>
        <source>Server %1 předává data, ale na dotaz na stanici %2 nepřišla platná odpověď: jeho linka nemá %3 Bd, 8 datových bitů, sudou paritu a 1 stop bit, nebo na ní ruší jiná stanice.</source>
        <translation>Server %1 passes data on, but no valid answer came to a request to station %2: its line is not set to %3 Bd, 8 data bits, even parity and 1 stop bit, or another station disturbs it.</translation>
    </message>
    <message>
        <source>Server %1 předává data: stanice na adrese %2 odpověděla.</source>
        <translation>Server %1 passes data on: the station at address %2 answered.</translation>
    </message>
    <message>
        <source>%1 nelze přiřadit server %2: %3.</source>
        <translation>Cannot assign server %2 to %1: %3.</translation>
    </message>
</context>
<context>
    <name>SetCompareDialog</name>
    <message>
        <source>Soubor: %1</source>
        <translation>File: %1</translation>
    </message>
    <message>
        <source>Shodné</source>
        <translation>Identical</translation>
    </message>
    <message>
        <source>Počet rozdílných polí: %1</source>
        <translation>Fields that differ: %1</translation>
    </message>
</context>
<context>
    <name>TAboutBox</name>
    <message>
        <source>Verze aplikace</source>
        <translation>Program version</translation>
    </message>
    <message>
        <source>Verze %1</source>
        <translation>Version %1</translation>
    </message>
</context>
<context>
    <name>TcpTransport</name>
    <message>
        <source>název %1 se nepodařilo včas přeložit na adresu</source>
        <translation>the name %1 could not be resolved in time</translation>
    </message>
    <message>
        <source>název %1 nelze přeložit na adresu</source>
        <translation>the name %1 cannot be resolved to an address</translation>
    </message>
    <message>
        <source>server odmítl spojení na portu %1</source>
        <translation>the server refused the connection on port %1</translation>
    </message>
    <message>
        <source>server na žádost o spojení neodpověděl</source>
        <translation>the server did not answer the connection request</translation>
    </message>
    <message>
        <source>síť k serveru není dostupná</source>
        <translation>the network to the server is unreachable</translation>
    </message>
    <message>
        <source>server spojení ukončil</source>
        <translation>the server closed the connection</translation>
    </message>
</context>
<context>
    <name>TelegramMeaning</name>
    <message>
        <source>neúplný telegram (%1 z %2 bajtů)</source>
        <translation>incomplete telegram (%1 of %2 bytes)</translation>
    </message>
    <message>
        <source>chybný koncový znak (%1, má být 16)</source>
        <translation>wrong end character (%1, expected 16)</translation>
    </message>
    <message>
        <source>chybný kontrolní součet (%1, má být %2)</source>
        <translation>wrong checksum (%1, expected %2)</translation>
    </message>
    <message>
        <source>za telegramem ještě %1 bajtů</source>
        <translation>%1 more bytes after the telegram</translation>
    </message>
    <message>
        <source>chybný druhý počáteční znak (%1, má být 68)</source>
        <translation>wrong second start character (%1, expected 68)</translation>
    </message>
    <message>
        <source>příliš malé LE (%1)</source>
        <translation>LE too small (%1)</translation>
    </message>
    <message>
        <source>žádné bajty</source>
        <translation>no bytes</translation>
    </message>
    <message>
        <source>bajty, které nejsou telegramem</source>
        <translation>bytes that are no telegram</translation>
    </message>
    <message>
        <source>127 (všem)</source>
        <translation>127 (broadcast)</translation>
    </message>
    <message>
        <source>SD1 dotaz na stav</source>
        <translation>SD1 status request</translation>
    </message>
    <message>
        <source>čtení tabulky %1</source>
        <translation>read table %1</translation>
    </message>
    <message>
        <source>zápis tabulky %1</source>
        <translation>write table %1</translation>
    </message>
    <message>
        <source>typ zařízení</source>
        <translation>device type</translation>
    </message>
    <message>
        <source>verze zařízení</source>
        <translation>device version</translation>
    </message>
    <message>
        <source>uložení do EEPROM</source>
        <translation>store to EEPROM</translation>
    </message>
    <message>
        <source>%1 bajtů za kódem služby, má být 0</source>
        <translation>%1 bytes after the service code, expected 0</translation>
    </message>
    <message>
        <source>tabulka %1 neexistuje</source>
        <translation>table %1 does not exist</translation>
    </message>
    <message>
        <source>délka %1, tabulka má %2 bajtů</source>
        <translation>length %1, the table has %2 bytes</translation>
    </message>
    <message>
        <source>čtvrtý bajt %1, má být 00</source>
        <translation>fourth byte %1, expected 00</translation>
    </message>
    <message>
        <source>%1 bajtů dat, má být %2</source>
        <translation>%1 data bytes, expected %2</translation>
    </message>
    <message>
        <source>data (%1 bajtů)</source>
        <translation>data (%1 bytes)</translation>
    </message>
    <message>
        <source>žádná</source>
        <translation>none</translation>
    </message>
    <message>
        <source>neznámý požadavek (FC %1, služba %2)</source>
        <translation>unknown request (FC %1, service %2)</translation>
    </message>
    <message>
        <source>neznámý kód funkce %1</source>
        <translation>unknown function code %1</translation>
    </message>
    <message>
        <source>kladné potvrzení</source>
        <translation>positive acknowledgement</translation>
    </message>
    <message>
        <source>odmítnutí, kód %1</source>
        <translation>refusal, code %1</translation>
    </message>
    <message>
        <source>chybný kód funkce (%1, má být 08)</source>
        <translation>wrong function code (%1, expected 08)</translation>
    </message>
    <message>
        <source>data tabulky %1: %2 bajtů, má být %3</source>
        <translation>table %1 data: %2 bytes, expected %3</translation>
    </message>
    <message>
        <source>data tabulky %1 (%2 bajtů)</source>
        <translation>table %1 data (%2 bytes)</translation>
    </message>
    <message>
        <source>typ zařízení „%1“</source>
        <translation>device type “%1”</translation>
    </message>
    <message>
        <source>verze zařízení „%1“</source>
        <translation>device version “%1”</translation>
    </message>
    <message>
        <source>data (%1 bajtů) místo potvrzení</source>
        <translation>data (%1 bytes) instead of an acknowledgement</translation>
    </message>
    <message>
        <source>odpověď z jiné adresy (DA %1, SA %2; čekáno DA %3, SA %4)</source>
        <translation>reply from another address (DA %1, SA %2; expected DA %3, SA %4)</translation>
    </message>
    <message>
        <source>SD1 odpověď na stav: připravena</source>
        <translation>SD1 status reply: ready</translation>
    </message>
    <message>
        <source>SD1 odpověď na stav, kód %1</source>
        <translation>SD1 status reply, code %1</translation>
    </message>
    <message>
        <source>žádná odpověď v časovém limitu (%1 ms)</source>
        <translation>no reply within the time-out (%1 ms)</translation>
    </message>
    <message>
        <source>krátká odpověď (%1 z %2 bajtů)</source>
        <translation>short reply (%1 of %2 bytes)</translation>
    </message>
</context>
<context>
    <name>Tform_nastaveni</name>
    <message>
        <source>Nastavení</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>počet zobrazených</source>
        <translation>points shown</translation>
    </message>
    <message>
        <source>měření v grafu</source>
        <translation>in the chart</translation>
    </message>
    <message>
        <source>zápis do grafu</source>
        <translation>chart every</translation>
    </message>
    <message>
        <source>sek.</source>
        <translation>s</translation>
    </message>
    <message>
        <source>zápis do souboru</source>
        <translation>log every</translation>
    </message>
    <message>
        <source>min.</source>
        <translation>min</translation>
    </message>
    <message>
        <source>počet zobrazených měření v grafu</source>
        <translation>Number of measurements shown in the chart</translation>
    </message>
    <message>
        <source>zápis do grafu v sekundách</source>
        <translation>Chart interval in seconds</translation>
    </message>
    <message>
        <source>zápis do souboru v minutách</source>
        <translation>Log interval in minutes</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Je nutné zadávat pouze čísla</source>
        <translation>Enter digits only</translation>
    </message>
    <message>
        <source>CHYBA</source>
        <translation>ERROR</translation>
    </message>
</context>
<context>
    <name>Tmenu_qzr17</name>
    <message>
        <source>Pondělí</source>
        <translation>Monday</translation>
    </message>
    <message>
        <source>Úterý</source>
        <translation>Tuesday</translation>
    </message>
    <message>
        <source>Středa</source>
        <translation>Wednesday</translation>
    </message>
    <message>
        <source>Čtvrtek</source>
        <translation>Thursday</translation>
    </message>
    <message>
        <source>Pátek</source>
        <translation>Friday</translation>
    </message>
    <message>
        <source>Sobota</source>
        <translation>Saturday</translation>
    </message>
    <message>
        <source>Neděle</source>
        <translation>Sunday</translation>
    </message>
    <message>
        <source>Nastavení hranice ALARMU 1</source>
        <translation>ALARM 1 limit</translation>
    </message>
    <message>
        <source>Nastavení hranice ALARMU 2</source>
        <translation>ALARM 2 limit</translation>
    </message>
    <message>
        <source>Nastavení poklesu o (-20 až 0°C)</source>
        <translation>Undershoot by (-20 to 0°C)</translation>
    </message>
    <message>
        <source>Nastavení překročení o (-20 až 0°C)</source>
        <translation>Overshoot by (-20 to 0°C)</translation>
    </message>
</context>
<context>
    <name>Tport</name>
    <message>
        <source>Komunikační port</source>
        <translation>Communication port</translation>
    </message>
    <message>
        <source>Sériová linka:</source>
        <translation>Serial line:</translation>
    </message>
    <message>
        <source>Přenosová rychlost</source>
        <translation>Baud rate</translation>
    </message>
    <message>
        <source>Adresa přístroje:</source>
        <translation>Device address:</translation>
    </message>
    <message>
        <source>Adresa počítače: </source>
        <translation>PC address: </translation>
    </message>
    <message>
        <source>Tabulka adres:</source>
        <translation>Address table:</translation>
    </message>
    <message>
        <source>Návrat a potvrzení změn</source>
        <translation>Close and keep the changes</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Storno</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Spustí vyhledávání adres</source>
        <translation>Starts the address search</translation>
    </message>
    <message>
        <source>Najít adresy</source>
        <translation>Search</translation>
    </message>
    <message>
        <source>Porty v počítači: přiřadí sériový port číslu COM</source>
        <translation>Computer ports: assigns a serial port to a COM number</translation>
    </message>
    <message>
        <source>Porty v počítači...</source>
        <translation>Computer ports...</translation>
    </message>
    <message>
        <source>...</source>
        <translation>...</translation>
    </message>
    <message>
        <source>Nastaví komunikační linku</source>
        <translation>Sets the communication line</translation>
    </message>
    <message>
        <source>Sériová linka</source>
        <translation>Serial line</translation>
    </message>
    <message>
        <source>žádný port</source>
        <translation>no port</translation>
    </message>
    <message>
        <source>COM 1</source>
        <translation>COM 1</translation>
    </message>
    <message>
        <source>COM 2</source>
        <translation>COM 2</translation>
    </message>
    <message>
        <source>COM 3</source>
        <translation>COM 3</translation>
    </message>
    <message>
        <source>COM 4</source>
        <translation>COM 4</translation>
    </message>
    <message>
        <source>COM 5</source>
        <translation>COM 5</translation>
    </message>
    <message>
        <source>COM 6</source>
        <translation>COM 6</translation>
    </message>
    <message>
        <source>COM 7</source>
        <translation>COM 7</translation>
    </message>
    <message>
        <source>COM 8</source>
        <translation>COM 8</translation>
    </message>
    <message>
        <source>Nastaví adresu přístroje</source>
        <translation>Sets the device address</translation>
    </message>
    <message>
        <source>Adresa přístroje</source>
        <translation>Device address</translation>
    </message>
    <message>
        <source>Nastaví adresu počítače</source>
        <translation>Sets the PC address</translation>
    </message>
    <message>
        <source>Adresa počítače</source>
        <translation>PC address</translation>
    </message>
    <message>
        <source>Přeruší vyhledávání adres</source>
        <translation>Stops the address search</translation>
    </message>
    <message>
        <source>Přerušit</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>Tabulka adres</source>
        <translation>Address table</translation>
    </message>
    <message>
        <source>Byly provedeny změny v nastavení.
Opravdu se chceš vrátit k původnímu nastavení?</source>
        <translation>The settings have been changed.
Do you really want to go back to the original settings?</translation>
    </message>
    <message>
        <source>Dotaz</source>
        <translation>Confirm</translation>
    </message>
    <message>
        <source> (zařízení není připojeno)</source>
        <translation> (device not connected)</translation>
    </message>
</context>
<context>
    <name>Tprovoz</name>
    <message>
        <source>Provoz na sběrnici</source>
        <translation>Bus traffic</translation>
    </message>
    <message>
        <source>&amp;Pozastavit</source>
        <translation>&amp;Pause</translation>
    </message>
    <message>
        <source>Pozastavit</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>Přestane přidávat řádky; provoz na sběrnici běží dál</source>
        <translation>Stops adding rows; the bus traffic goes on</translation>
    </message>
    <message>
        <source>&amp;Vymazat</source>
        <translation>C&amp;lear</translation>
    </message>
    <message>
        <source>Vymazat</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>Smaže všechny řádky a začne měřit čas od nuly</source>
        <translation>Deletes all rows and starts the time from zero</translation>
    </message>
    <message>
        <source>&amp;Kopírovat</source>
        <translation>&amp;Copy</translation>
    </message>
    <message>
        <source>Kopírovat</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>Zkopíruje vybrané řádky do schránky</source>
        <translation>Copies the selected rows to the clipboard</translation>
    </message>
    <message>
        <source>&amp;Uložit...</source>
        <translation>&amp;Save...</translation>
    </message>
    <message>
        <source>Uložit</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Uloží všechny řádky do textového souboru</source>
        <translation>Saves all rows to a text file</translation>
    </message>
    <message>
        <source>&amp;Filtr:</source>
        <translation>&amp;Filter:</translation>
    </message>
    <message>
        <source>Filtr</source>
        <translation>Filter</translation>
    </message>
    <message>
        <source>Ukáže jen řádky, které obsahují tento text</source>
        <translation>Shows only the rows that contain this text</translation>
    </message>
    <message>
        <source>text v řádku</source>
        <translation>text in the row</translation>
    </message>
    <message>
        <source>Telegramy</source>
        <translation>Telegrams</translation>
    </message>
    <message>
        <source>Řádků: 0</source>
        <translation>Rows: 0</translation>
    </message>
    <message>
        <source>Soubor %1 nelze uložit</source>
        <translation>Cannot save file %1</translation>
    </message>
    <message>
        <source>Řádků: %1</source>
        <translation>Rows: %1</translation>
    </message>
    <message>
        <source>Řádků: %1 z %2</source>
        <translation>Rows: %1 of %2</translation>
    </message>
    <message>
        <source>Uložit provoz na sběrnici</source>
        <translation>Save bus traffic</translation>
    </message>
    <message>
        <source>Textový soubor [*.txt] (*.txt)</source>
        <translation>Text file [*.txt] (*.txt)</translation>
    </message>
</context>
<context>
    <name>Tqzr17</name>
    <message>
        <source>Aktuální naměřená teplota</source>
        <translation>Current measured temperature</translation>
    </message>
    <message>
        <source>teplota vody</source>
        <translation>flow temp.</translation>
    </message>
    <message>
        <source>Ukazuje teplotu topné vody</source>
        <translation>Shows the flow temperature of the heating water</translation>
    </message>
    <message>
        <source>venkovní teplota</source>
        <translation>outdoor temp.</translation>
    </message>
    <message>
        <source>Ukazuje venkovní teplotu</source>
        <translation>Shows the outdoor temperature</translation>
    </message>
    <message>
        <source>žádaná</source>
        <translation>setpoint</translation>
    </message>
    <message>
        <source>útlum</source>
        <translation>setback</translation>
    </message>
    <message>
        <source>odchylka</source>
        <translation>deviation</translation>
    </message>
    <message>
        <source>Barva pera</source>
        <translation>Pen color</translation>
    </message>
    <message>
        <source>aut. čtení</source>
        <translation>auto read</translation>
    </message>
    <message>
        <source>Spustí automatické čtení naměřených hodnot regulátoru</source>
        <translation>Starts reading the regulator&apos;s measured values automatically</translation>
    </message>
    <message>
        <source>příjem</source>
        <translation>receiving</translation>
    </message>
    <message>
        <source>&amp;Soubor</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>Nový...</source>
        <translation>New...</translation>
    </message>
    <message>
        <source>Uložit</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Uložit jako...</source>
        <translation>Save As...</translation>
    </message>
    <message>
        <source>Tisk...</source>
        <translation>Print...</translation>
    </message>
    <message>
        <source>&amp;Konec</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>&amp;Konfigurace</source>
        <translation>&amp;Configuration</translation>
    </message>
    <message>
        <source>Komunikační port</source>
        <translation>Communication port</translation>
    </message>
    <message>
        <source>Nastavení regulátoru</source>
        <translation>Regulator settings</translation>
    </message>
    <message>
        <source>Nastavení ukládání</source>
        <translation>Logging settings</translation>
    </message>
    <message>
        <source>Provoz na sběrnici</source>
        <translation>Bus traffic</translation>
    </message>
    <message>
        <source>&amp;Nápověda</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>O aplikaci</source>
        <translation>About</translation>
    </message>
    <message>
        <source>Identifikace</source>
        <translation>Identification</translation>
    </message>
    <message>
        <source>Textový soubor [*.txt] (*.txt)</source>
        <translation>Text file [*.txt] (*.txt)</translation>
    </message>
    <message>
        <source>Otevřít záznam...</source>
        <translation>Open Log...</translation>
    </message>
</context>
<context>
    <name>TrafficModel</name>
    <message>
        <source>odesláno</source>
        <translation>sent</translation>
    </message>
    <message>
        <source>přijato</source>
        <translation>received</translation>
    </message>
    <message>
        <source>Čas [ms]</source>
        <translation>Time [ms]</translation>
    </message>
    <message>
        <source>Směr</source>
        <translation>Dir.</translation>
    </message>
    <message>
        <source>Význam</source>
        <translation>Meaning</translation>
    </message>
    <message>
        <source>Bajty</source>
        <translation>Bytes</translation>
    </message>
</context>
<context>
    <name>TrafficRecorder</name>
    <message>
        <source>po časovém limitu, zahozeno: </source>
        <translation>after the time-out, dropped: </translation>
    </message>
</context>
<context>
    <name>ValueLegend</name>
    <message>
        <source>Hodnoty bodů grafu</source>
        <translation>Chart point values</translation>
    </message>
</context>
<context>
    <name>about_ident</name>
    <message>
        <source>Identifikace</source>
        <translation>Identification</translation>
    </message>
    <message>
        <source>Výrobce a parametry regulátoru</source>
        <translation>Regulator manufacturer and parameters</translation>
    </message>
    <message>
        <source>Obrázek regulátoru</source>
        <translation>Regulator picture</translation>
    </message>
    <message>
        <source>Výrobce:</source>
        <translation>Maker:</translation>
    </message>
    <message>
        <source>KORAVEL</source>
        <translation>KORAVEL</translation>
    </message>
    <message>
        <source>https://</source>
        <translation>https://</translation>
    </message>
    <message>
        <source>www.koravel.cz</source>
        <translation>www.koravel.cz</translation>
    </message>
    <message>
        <source>Načtené parametry z regulátoru:</source>
        <translation>Read from the regulator:</translation>
    </message>
    <message>
        <source>Typ zařízení - neidentifikováno</source>
        <translation>Device type - not identified</translation>
    </message>
    <message>
        <source>Verze zařízení - neidentifikováno</source>
        <translation>Device version - not identified</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>bus_protocol</name>
    <message>
        <source>Chyba, číslo tabulky mimo rozsah.</source>
        <translation>Error: table number out of range.</translation>
    </message>
    <message>
        <source>Sériový Port</source>
        <translation>Serial Port</translation>
    </message>
    <message>
        <source>Nepředvídaná chyba, špatně zadaná tabulka</source>
        <translation>Unexpected error: invalid table</translation>
    </message>
</context>
<context>
    <name>edit_conversions</name>
    <message>
        <source>Je nutné zadávat pouze čísla nebo desetinnou čárku</source>
        <translation>Enter digits and a decimal separator only</translation>
    </message>
    <message>
        <source>Je nutné zadávat pouze čísla</source>
        <translation>Enter digits only</translation>
    </message>
    <message>
        <source>CHYBA</source>
        <translation>ERROR</translation>
    </message>
</context>
<context>
    <name>kv36</name>
    <message>
        <source>Použití: kv36 [VOLBA]
Uvedení regulátoru QZR 17 do provozu a jeho sledování po sériové sběrnici.
Vše ostatní se dělá v oknech programu.

  --help     vypíše tento text
  --version  vypíše verzi programu
</source>
        <translation>Usage: kv36 [OPTION]
Commissioning and watching a QZR 17 regulator over its serial bus.
Everything else is done in the program&apos;s windows.

  --help     print this text
  --version  print the program&apos;s version
</translation>
    </message>
</context>
<context>
    <name>menu_qzr17</name>
    <message>
        <source>QZR 17</source>
        <translation>QZR 17</translation>
    </message>
    <message>
        <source>Parametry regulátoru</source>
        <translation>Regulator parameters</translation>
    </message>
    <message>
        <source>Ekviterm</source>
        <translation>Heating curve</translation>
    </message>
    <message>
        <source>Teplota vody při 0°C venkovní teploty</source>
        <translation>Flow temperature at 0°C outdoors</translation>
    </message>
    <message>
        <source>SP_0</source>
        <translation>SP_0</translation>
    </message>
    <message>
        <source>80</source>
        <translation>80</translation>
    </message>
    <message>
        <source>Teplota vody při 20°C venkovní teploty</source>
        <translation>Flow temperature at 20°C outdoors</translation>
    </message>
    <message>
        <source>SP20</source>
        <translation>SP20</translation>
    </message>
    <message>
        <source>20</source>
        <translation>20</translation>
    </message>
    <message>
        <source>Regulace ONOF</source>
        <translation>On/off control</translation>
    </message>
    <message>
        <source>Základní ohřívač pokles o (-20 až 0°C)</source>
        <translation>Base heater undershoot (-20 to 0°C)</translation>
    </message>
    <message>
        <source>P_LO</source>
        <translation>P_LO</translation>
    </message>
    <message>
        <source>-1,5</source>
        <translation>-1,5</translation>
    </message>
    <message>
        <source>Základní ohřívač překročení o (0 až 20°C)</source>
        <translation>Base heater overshoot (0 to 20°C)</translation>
    </message>
    <message>
        <source>P_HI</source>
        <translation>P_HI</translation>
    </message>
    <message>
        <source>3</source>
        <translation>3</translation>
    </message>
    <message>
        <source>Špičkový ohřívač pokles o (-20 až 0°C)</source>
        <translation>Peak heater undershoot (-20 to 0°C)</translation>
    </message>
    <message>
        <source>D_LO</source>
        <translation>D_LO</translation>
    </message>
    <message>
        <source>-3</source>
        <translation>-3</translation>
    </message>
    <message>
        <source>Špičkový ohřívač překročení o (0 až 20°C)</source>
        <translation>Peak heater overshoot (0 to 20°C)</translation>
    </message>
    <message>
        <source>D_HI</source>
        <translation>D_HI</translation>
    </message>
    <message>
        <source>1,5</source>
        <translation>1,5</translation>
    </message>
    <message>
        <source>Omezení požadované hodnoty [°C]</source>
        <translation>Setpoint limit [°C]</translation>
    </message>
    <message>
        <source>OME_</source>
        <translation>OME_</translation>
    </message>
    <message>
        <source>95 </source>
        <translation>95 </translation>
    </message>
    <message>
        <source>Alarm</source>
        <translation>Alarm</translation>
    </message>
    <message>
        <source>Nastavení hranice ALARMU 1</source>
        <translation>ALARM 1 limit</translation>
    </message>
    <message>
        <source>SPLO</source>
        <translation>SPLO</translation>
    </message>
    <message>
        <source>-5</source>
        <translation>-5</translation>
    </message>
    <message>
        <source>Nastavení hranice ALARMU 2</source>
        <translation>ALARM 2 limit</translation>
    </message>
    <message>
        <source>SPHI</source>
        <translation>SPHI</translation>
    </message>
    <message>
        <source>5</source>
        <translation>5</translation>
    </message>
    <message>
        <source>Hystereze alarmu (0 až 10°C)</source>
        <translation>Alarm hysteresis (0 to 10°C)</translation>
    </message>
    <message>
        <source>HYST</source>
        <translation>HYST</translation>
    </message>
    <message>
        <source>1</source>
        <translation>1</translation>
    </message>
    <message>
        <source>Vstupní signál pro ALARM 1</source>
        <translation>Input signal for ALARM 1</translation>
    </message>
    <message>
        <source>INA1</source>
        <translation>INA1</translation>
    </message>
    <message>
        <source>Naměřená vstup 1</source>
        <translation>Measured, input 1</translation>
    </message>
    <message>
        <source>Naměřená vstup 2</source>
        <translation>Measured, input 2</translation>
    </message>
    <message>
        <source>Požadovaná z EKVITERMU</source>
        <translation>Setpoint from heating curve</translation>
    </message>
    <message>
        <source>Vstupní signál pro ALARM 2</source>
        <translation>Input signal for ALARM 2</translation>
    </message>
    <message>
        <source>INA2</source>
        <translation>INA2</translation>
    </message>
    <message>
        <source>Snímač 1</source>
        <translation>Sensor 1</translation>
    </message>
    <message>
        <source>Typ snímače</source>
        <translation>Sensor type</translation>
    </message>
    <message>
        <source>TYPE</source>
        <translation>TYPE</translation>
    </message>
    <message>
        <source>0-20mA</source>
        <translation>0-20mA</translation>
    </message>
    <message>
        <source>4-20mA</source>
        <translation>4-20mA</translation>
    </message>
    <message>
        <source>0-5V</source>
        <translation>0-5V</translation>
    </message>
    <message>
        <source>Desetinná tečka</source>
        <translation>Decimal point</translation>
    </message>
    <message>
        <source>_DP_</source>
        <translation>_DP_</translation>
    </message>
    <message>
        <source>0000.</source>
        <translation>0000.</translation>
    </message>
    <message>
        <source>000.0</source>
        <translation>000.0</translation>
    </message>
    <message>
        <source>00.00</source>
        <translation>00.00</translation>
    </message>
    <message>
        <source>Začátek rozsahu (-999 až 9999°C)</source>
        <translation>Range start (-999 to 9999°C)</translation>
    </message>
    <message>
        <source>STRS</source>
        <translation>STRS</translation>
    </message>
    <message>
        <source>0</source>
        <translation>0</translation>
    </message>
    <message>
        <source>Konec rozsahu (-999 až 9999°C)</source>
        <translation>Range end (-999 to 9999°C)</translation>
    </message>
    <message>
        <source>ENDS</source>
        <translation>ENDS</translation>
    </message>
    <message>
        <source>100</source>
        <translation>100</translation>
    </message>
    <message>
        <source>Snímač 2</source>
        <translation>Sensor 2</translation>
    </message>
    <message>
        <source>-50</source>
        <translation>-50</translation>
    </message>
    <message>
        <source>50</source>
        <translation>50</translation>
    </message>
    <message>
        <source>Čas</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>Minuty</source>
        <translation>Minutes</translation>
    </message>
    <message>
        <source>MIN</source>
        <translation>MIN</translation>
    </message>
    <message>
        <source>Hodiny</source>
        <translation>Hours</translation>
    </message>
    <message>
        <source>HOUR</source>
        <translation>HOUR</translation>
    </message>
    <message>
        <source>Den v týdnu</source>
        <translation>Day of week</translation>
    </message>
    <message>
        <source>DAY</source>
        <translation>DAY</translation>
    </message>
    <message>
        <source>Pondělí</source>
        <translation>Monday</translation>
    </message>
    <message>
        <source>Úterý</source>
        <translation>Tuesday</translation>
    </message>
    <message>
        <source>Středa</source>
        <translation>Wednesday</translation>
    </message>
    <message>
        <source>Čtvrtek</source>
        <translation>Thursday</translation>
    </message>
    <message>
        <source>Pátek</source>
        <translation>Friday</translation>
    </message>
    <message>
        <source>Sobota</source>
        <translation>Saturday</translation>
    </message>
    <message>
        <source>Neděle</source>
        <translation>Sunday</translation>
    </message>
    <message>
        <source>Den</source>
        <translation>Day</translation>
    </message>
    <message>
        <source>DATE</source>
        <translation>DATE</translation>
    </message>
    <message>
        <source>Měsíc</source>
        <translation>Month</translation>
    </message>
    <message>
        <source>MONT</source>
        <translation>MONT</translation>
    </message>
    <message>
        <source>Leden</source>
        <translation>January</translation>
    </message>
    <message>
        <source>Únor</source>
        <translation>February</translation>
    </message>
    <message>
        <source>Březen</source>
        <translation>March</translation>
    </message>
    <message>
        <source>Duben</source>
        <translation>April</translation>
    </message>
    <message>
        <source>Květen</source>
        <translation>May</translation>
    </message>
    <message>
        <source>Červen</source>
        <translation>June</translation>
    </message>
    <message>
        <source>Červenec</source>
        <translation>July</translation>
    </message>
    <message>
        <source>Srpen</source>
        <translation>August</translation>
    </message>
    <message>
        <source>Září</source>
        <translation>September</translation>
    </message>
    <message>
        <source>Říjen</source>
        <translation>October</translation>
    </message>
    <message>
        <source>Listopad</source>
        <translation>November</translation>
    </message>
    <message>
        <source>Prosinec</source>
        <translation>December</translation>
    </message>
    <message>
        <source>Rok (poslední dvojčíslí)</source>
        <translation>Year (last two digits)</translation>
    </message>
    <message>
        <source>YEAR</source>
        <translation>YEAR</translation>
    </message>
    <message>
        <source>02</source>
        <translation>02</translation>
    </message>
    <message>
        <source>povolení zápisu nového času</source>
        <translation>allow writing the new time</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Nastavení chování relé při error</source>
        <translation>Relay action on error</translation>
    </message>
    <message>
        <source>RE_1</source>
        <translation>RE_1</translation>
    </message>
    <message>
        <source>Nastavení chování relé při error RE_1</source>
        <translation>Relay action on error RE_1</translation>
    </message>
    <message>
        <source>Bez funkce (no)</source>
        <translation>No action (no)</translation>
    </message>
    <message>
        <source>Při poruše zapne (ON)</source>
        <translation>On at fault (ON)</translation>
    </message>
    <message>
        <source>Při poruše vypne (OFF)</source>
        <translation>Off at fault (OFF)</translation>
    </message>
    <message>
        <source>RE_2</source>
        <translation>RE_2</translation>
    </message>
    <message>
        <source>Nastavení chování relé při error RE_2</source>
        <translation>Relay action on error RE_2</translation>
    </message>
    <message>
        <source>RE_3</source>
        <translation>RE_3</translation>
    </message>
    <message>
        <source>Nastavení chování relé při error RE_3</source>
        <translation>Relay action on error RE_3</translation>
    </message>
    <message>
        <source>RE_4</source>
        <translation>RE_4</translation>
    </message>
    <message>
        <source>Nastavení chování relé při error RE_4</source>
        <translation>Relay action on error RE_4</translation>
    </message>
    <message>
        <source>Nastavení chování analogového výstupu</source>
        <translation>Analog output on error</translation>
    </message>
    <message>
        <source>YOUT</source>
        <translation>YOUT</translation>
    </message>
    <message>
        <source>Při poruše 0 mA</source>
        <translation>0 mA at fault</translation>
    </message>
    <message>
        <source>Při poruše 20 mA</source>
        <translation>20 mA at fault</translation>
    </message>
    <message>
        <source>Ostatní</source>
        <translation>Other</translation>
    </message>
    <message>
        <source>Nastavení filtru (0 až 15)</source>
        <translation>Input filter (0 to 15)</translation>
    </message>
    <message>
        <source>FILTR</source>
        <translation>FILTR</translation>
    </message>
    <message>
        <source>2</source>
        <translation>2</translation>
    </message>
    <message>
        <source>4</source>
        <translation>4</translation>
    </message>
    <message>
        <source>6</source>
        <translation>6</translation>
    </message>
    <message>
        <source>7</source>
        <translation>7</translation>
    </message>
    <message>
        <source>8</source>
        <translation>8</translation>
    </message>
    <message>
        <source>9</source>
        <translation>9</translation>
    </message>
    <message>
        <source>10</source>
        <translation>10</translation>
    </message>
    <message>
        <source>11</source>
        <translation>11</translation>
    </message>
    <message>
        <source>12</source>
        <translation>12</translation>
    </message>
    <message>
        <source>13</source>
        <translation>13</translation>
    </message>
    <message>
        <source>14</source>
        <translation>14</translation>
    </message>
    <message>
        <source>15</source>
        <translation>15</translation>
    </message>
    <message>
        <source>Nastavení hesla (0 až 9999)</source>
        <translation>Password (0 to 9999)</translation>
    </message>
    <message>
        <source>PASS</source>
        <translation>PASS</translation>
    </message>
    <message>
        <source>Klávesnice</source>
        <translation>Keypad</translation>
    </message>
    <message>
        <source>LOC_</source>
        <translation>LOC_</translation>
    </message>
    <message>
        <source>odemčena</source>
        <translation>unlocked</translation>
    </message>
    <message>
        <source>zamčena</source>
        <translation>locked</translation>
    </message>
    <message>
        <source>Adresa regulátoru (0 až 126)</source>
        <translation>Regulator address (0 to 126)</translation>
    </message>
    <message>
        <source>PID</source>
        <translation>PID</translation>
    </message>
    <message>
        <source>Zesílení (±500)</source>
        <translation>Gain (±500)</translation>
    </message>
    <message>
        <source>PB</source>
        <translation>PB</translation>
    </message>
    <message>
        <source>Integrační konstanta (0,01-9999)</source>
        <translation>Integral time (0.01-9999)</translation>
    </message>
    <message>
        <source>INT</source>
        <translation>INT</translation>
    </message>
    <message>
        <source>Derivační konstanta (0,01-9999)</source>
        <translation>Derivative time (0.01-9999)</translation>
    </message>
    <message>
        <source>DER</source>
        <translation>DER</translation>
    </message>
    <message>
        <source>REGO</source>
        <translation>REGO</translation>
    </message>
    <message>
        <source>Volba typu regulace</source>
        <translation>Control mode</translation>
    </message>
    <message>
        <source>Dvoustavová regulace (ONOF)</source>
        <translation>On/off control (ONOF)</translation>
    </message>
    <message>
        <source>Třístavová regulce (PID)</source>
        <translation>Three-point control (PID)</translation>
    </message>
    <message>
        <source>Doba předěhu servopohonu (5-1000s) </source>
        <translation>Actuator running time (5-1000 s)</translation>
    </message>
    <message>
        <source>DSER</source>
        <translation>DSER</translation>
    </message>
    <message>
        <source>Necitlivost (0-10%) </source>
        <translation>Dead band (0-10%)</translation>
    </message>
    <message>
        <source>DEAD</source>
        <translation>DEAD</translation>
    </message>
    <message>
        <source>Filtr YOUT (0-16)</source>
        <translation>YOUT filter (0-16)</translation>
    </message>
    <message>
        <source>F2</source>
        <translation>F2</translation>
    </message>
    <message>
        <source>TPID</source>
        <translation>TPID</translation>
    </message>
    <message>
        <source>0,2 sekundy</source>
        <translation>0.2 s</translation>
    </message>
    <message>
        <source>0,4 sekundy</source>
        <translation>0.4 s</translation>
    </message>
    <message>
        <source>0,6 sekundy</source>
        <translation>0.6 s</translation>
    </message>
    <message>
        <source>0,8 sekundy</source>
        <translation>0.8 s</translation>
    </message>
    <message>
        <source>1,0 sekundy</source>
        <translation>1.0 s</translation>
    </message>
    <message>
        <source>1,2 sekundy</source>
        <translation>1.2 s</translation>
    </message>
    <message>
        <source>1,4 sekundy</source>
        <translation>1.4 s</translation>
    </message>
    <message>
        <source>1,6 sekundy</source>
        <translation>1.6 s</translation>
    </message>
    <message>
        <source>1,8 sekundy</source>
        <translation>1.8 s</translation>
    </message>
    <message>
        <source>2,0 sekundy</source>
        <translation>2.0 s</translation>
    </message>
    <message>
        <source>2,2 sekundy</source>
        <translation>2.2 s</translation>
    </message>
    <message>
        <source>2,4 sekundy</source>
        <translation>2.4 s</translation>
    </message>
    <message>
        <source>2,6 sekundy</source>
        <translation>2.6 s</translation>
    </message>
    <message>
        <source>2,8 sekundy</source>
        <translation>2.8 s</translation>
    </message>
    <message>
        <source>3,0 sekundy</source>
        <translation>3.0 s</translation>
    </message>
    <message>
        <source>3,2 sekundy</source>
        <translation>3.2 s</translation>
    </message>
    <message>
        <source>3,4 sekundy</source>
        <translation>3.4 s</translation>
    </message>
    <message>
        <source>3,6 sekundy</source>
        <translation>3.6 s</translation>
    </message>
    <message>
        <source>3,8 sekundy</source>
        <translation>3.8 s</translation>
    </message>
    <message>
        <source>4,0 sekundy</source>
        <translation>4.0 s</translation>
    </message>
    <message>
        <source>4,2 sekundy</source>
        <translation>4.2 s</translation>
    </message>
    <message>
        <source>4,4 sekundy</source>
        <translation>4.4 s</translation>
    </message>
    <message>
        <source>4,6 sekundy</source>
        <translation>4.6 s</translation>
    </message>
    <message>
        <source>4,8 sekundy</source>
        <translation>4.8 s</translation>
    </message>
    <message>
        <source>5,0 sekundy</source>
        <translation>5.0 s</translation>
    </message>
    <message>
        <source>5,2 sekundy</source>
        <translation>5.2 s</translation>
    </message>
    <message>
        <source>5,4 sekundy</source>
        <translation>5.4 s</translation>
    </message>
    <message>
        <source>5,6 sekundy</source>
        <translation>5.6 s</translation>
    </message>
    <message>
        <source>5,8 sekundy</source>
        <translation>5.8 s</translation>
    </message>
    <message>
        <source>6,0 sekundy</source>
        <translation>6.0 s</translation>
    </message>
    <message>
        <source>6,2 sekundy</source>
        <translation>6.2 s</translation>
    </message>
    <message>
        <source>6,4 sekundy</source>
        <translation>6.4 s</translation>
    </message>
    <message>
        <source>6,6 sekundy</source>
        <translation>6.6 s</translation>
    </message>
    <message>
        <source>6,8 sekundy</source>
        <translation>6.8 s</translation>
    </message>
    <message>
        <source>7,0 sekundy</source>
        <translation>7.0 s</translation>
    </message>
    <message>
        <source>7,2 sekundy</source>
        <translation>7.2 s</translation>
    </message>
    <message>
        <source>7,4 sekundy</source>
        <translation>7.4 s</translation>
    </message>
    <message>
        <source>7,6 sekundy</source>
        <translation>7.6 s</translation>
    </message>
    <message>
        <source>7,8 sekundy</source>
        <translation>7.8 s</translation>
    </message>
    <message>
        <source>8,0 sekundy</source>
        <translation>8.0 s</translation>
    </message>
    <message>
        <source>8,2 sekundy</source>
        <translation>8.2 s</translation>
    </message>
    <message>
        <source>8,4 sekundy</source>
        <translation>8.4 s</translation>
    </message>
    <message>
        <source>8,6 sekundy</source>
        <translation>8.6 s</translation>
    </message>
    <message>
        <source>8,8 sekundy</source>
        <translation>8.8 s</translation>
    </message>
    <message>
        <source>9,0 sekundy</source>
        <translation>9.0 s</translation>
    </message>
    <message>
        <source>9,2 sekundy</source>
        <translation>9.2 s</translation>
    </message>
    <message>
        <source>9,4 sekundy</source>
        <translation>9.4 s</translation>
    </message>
    <message>
        <source>9,6 sekundy</source>
        <translation>9.6 s</translation>
    </message>
    <message>
        <source>9,8 sekundy</source>
        <translation>9.8 s</translation>
    </message>
    <message>
        <source>10,0 sekund</source>
        <translation>10.0 s</translation>
    </message>
    <message>
        <source>DACO</source>
        <translation>DACO</translation>
    </message>
    <message>
        <source>Vstupující hodnota do anal. výstupu</source>
        <translation>Value fed to the analog output</translation>
    </message>
    <message>
        <source>A_IN</source>
        <translation>A_IN</translation>
    </message>
    <message>
        <source>Regulační veličina</source>
        <translation>Controller output</translation>
    </message>
    <message>
        <source>Naměřená hodnota</source>
        <translation>Measured value</translation>
    </message>
    <message>
        <source>Charakter analogového výstupu</source>
        <translation>Analog output range</translation>
    </message>
    <message>
        <source>AOUT</source>
        <translation>AOUT</translation>
    </message>
    <message>
        <source>20-0mA</source>
        <translation>20-0mA</translation>
    </message>
    <message>
        <source>20-4mA</source>
        <translation>20-4mA</translation>
    </message>
    <message>
        <source>Začátek rozsahu pro naměř. hodnotu</source>
        <translation>Range start for measured value</translation>
    </message>
    <message>
        <source>ASTR</source>
        <translation>ASTR</translation>
    </message>
    <message>
        <source>Konec rozsahu pro naměř. hodnotu</source>
        <translation>Range end for measured value</translation>
    </message>
    <message>
        <source>AEND</source>
        <translation>AEND</translation>
    </message>
    <message>
        <source>Týdenní režim</source>
        <translation>Weekly schedule</translation>
    </message>
    <message>
        <source>Posuv teploty vody (±50°C)</source>
        <translation>Flow temperature shift (±50°C)</translation>
    </message>
    <message>
        <source>Hodina a minuta posuvu</source>
        <translation>Shift time (hour, minute)</translation>
    </message>
    <message>
        <source>Úroveň 1</source>
        <translation>Level 1</translation>
    </message>
    <message>
        <source>000</source>
        <translation>000</translation>
    </message>
    <message>
        <source>Úroveň 1: Posuv teploty vody (±50°C)</source>
        <translation>Level 1: flow temperature shift (±50°C)</translation>
    </message>
    <message>
        <source>°C</source>
        <translation>°C</translation>
    </message>
    <message>
        <source>01</source>
        <translation>01</translation>
    </message>
    <message>
        <source>Úroveň 1: Hodina posuvu</source>
        <translation>Level 1: shift hour</translation>
    </message>
    <message>
        <source>00</source>
        <translation>00</translation>
    </message>
    <message>
        <source>Úroveň 1: Minuta posuvu</source>
        <translation>Level 1: shift minute</translation>
    </message>
    <message>
        <source>Úroveň 2</source>
        <translation>Level 2</translation>
    </message>
    <message>
        <source>Úroveň 2: Posuv teploty vody (±50°C)</source>
        <translation>Level 2: flow temperature shift (±50°C)</translation>
    </message>
    <message>
        <source>Úroveň 2: Hodina posuvu</source>
        <translation>Level 2: shift hour</translation>
    </message>
    <message>
        <source>Úroveň 2: Minuta posuvu</source>
        <translation>Level 2: shift minute</translation>
    </message>
    <message>
        <source>Úroveň 3</source>
        <translation>Level 3</translation>
    </message>
    <message>
        <source>Úroveň 3: Posuv teploty vody (±50°C)</source>
        <translation>Level 3: flow temperature shift (±50°C)</translation>
    </message>
    <message>
        <source>03</source>
        <translation>03</translation>
    </message>
    <message>
        <source>Úroveň 3: Hodina posuvu</source>
        <translation>Level 3: shift hour</translation>
    </message>
    <message>
        <source>Úroveň 3: Minuta posuvu</source>
        <translation>Level 3: shift minute</translation>
    </message>
    <message>
        <source>Úroveň 4</source>
        <translation>Level 4</translation>
    </message>
    <message>
        <source>Úroveň 4: Posuv teploty vody (±50°C)</source>
        <translation>Level 4: flow temperature shift (±50°C)</translation>
    </message>
    <message>
        <source>04</source>
        <translation>04</translation>
    </message>
    <message>
        <source>Úroveň 4: Hodina posuvu</source>
        <translation>Level 4: shift hour</translation>
    </message>
    <message>
        <source>Úroveň 4: Minuta posuvu</source>
        <translation>Level 4: shift minute</translation>
    </message>
    <message>
        <source>Čtení</source>
        <translation>Read</translation>
    </message>
    <message>
        <source>Přečte parametry regulátoru a zobrazí je na kartách</source>
        <translation>Reads the regulator parameters and shows them on the pages</translation>
    </message>
    <message>
        <source>Zápis</source>
        <translation>Write</translation>
    </message>
    <message>
        <source>Zapíše nastavené parametry do RAM regulátoru</source>
        <translation>Writes the parameters to the regulator&apos;s RAM</translation>
    </message>
    <message>
        <source>Přečte týdenní režim regulátoru</source>
        <translation>Reads the regulator&apos;s weekly schedule</translation>
    </message>
    <message>
        <source>Zapíše týdenní režim regulátoru</source>
        <translation>Writes the weekly schedule to the regulator</translation>
    </message>
    <message>
        <source>Zápis do EEPROM</source>
        <translation>Write to EEPROM</translation>
    </message>
    <message>
        <source>Zápis RAM do EEPROM po nastavení regulátorutlačítko </source>
        <translation>Stores the regulator&apos;s RAM in EEPROM once the settings are written</translation>
    </message>
    <message>
        <source>Zpět</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>Průběh komunikace</source>
        <translation>Communication progress</translation>
    </message>
    <message>
        <source>Soubor</source>
        <translation>File</translation>
    </message>
    <message>
        <source>Sada parametrů: uložit do souboru, načíst, porovnat, protokol o nastavení</source>
        <translation>Parameter set: save to file, load, compare, commissioning report</translation>
    </message>
</context>
<context>
    <name>qzr17ctl</name>
    <message>
        <source>Tabulka %1</source>
        <translation>Table %1</translation>
    </message>
    <message>
        <source>Typ přístroje</source>
        <translation>Device type</translation>
    </message>
    <message>
        <source>Verze přístroje</source>
        <translation>Device version</translation>
    </message>
    <message>
        <source>Adresa %1</source>
        <translation>Address %1</translation>
    </message>
    <message>
        <source>Žádná adresa neodpověděla</source>
        <translation>No address answered</translation>
    </message>
    <message>
        <source>Na adresu 127 (všem) regulátor neodpovídá, tabulku nelze číst ani zapsat</source>
        <translation>The regulator does not answer at address 127 (broadcast): no table can be read or written there</translation>
    </message>
    <message>
        <source>Uložení do EEPROM</source>
        <translation>Storing to EEPROM</translation>
    </message>
    <message>
        <source>Nápověda: qzr17ctl --help</source>
        <translation>Help: qzr17ctl --help</translation>
    </message>
    <message>
        <source>Volba %1 čeká číslo %2 až %3, ne &quot;%4&quot;</source>
        <translation>Option %1 expects a number from %2 to %3, not &quot;%4&quot;</translation>
    </message>
    <message>
        <source>Volba --lang čeká cs nebo en, ne &quot;%1&quot;</source>
        <translation>Option --lang expects cs or en, not &quot;%1&quot;</translation>
    </message>
    <message>
        <source>Číslo portu v &quot;%1&quot; je příliš velké</source>
        <translation>The port number in &quot;%1&quot; is too large</translation>
    </message>
    <message>
        <source>zahozeno: %1</source>
        <translation>dropped: %1</translation>
    </message>
    <message>
        <source>Neznámá volba %1</source>
        <translation>Unknown option %1</translation>
    </message>
    <message>
        <source>Volbě %1 chybí hodnota</source>
        <translation>Option %1 has no value</translation>
    </message>
    <message>
        <source>Chybí příkaz</source>
        <translation>No command given</translation>
    </message>
    <message>
        <source>--lang cs|en zvolí jazyk výpisů; bez ní platí jazyk zvolený v programu.</source>
        <translation>--lang cs|en chooses the language of the output; without it, the language chosen in the program applies.</translation>
    </message>
    <message>
        <source>Příkaz ports nemá argumenty</source>
        <translation>The ports command takes no arguments</translation>
    </message>
    <message>
        <source>požadavek se nepodařilo odeslat</source>
        <translation>the request could not be sent</translation>
    </message>
    <message>
        <source>regulátor neodpověděl</source>
        <translation>the regulator did not answer</translation>
    </message>
    <message>
        <source>regulátor odmítl požadavek, kód %1</source>
        <translation>the regulator refused the request, code %1</translation>
    </message>
    <message>
        <source>neúplná odpověď regulátoru (%1 z %2 bajtů)</source>
        <translation>incomplete reply from the regulator (%1 of %2 bytes)</translation>
    </message>
    <message>
        <source>chybná odpověď regulátoru</source>
        <translation>invalid reply from the regulator</translation>
    </message>
    <message>
        <source>Příkaz %1 nemá argumenty</source>
        <translation>The %1 command takes no arguments</translation>
    </message>
    <message>
        <source>Čeká se JMÉNO=HODNOTA, ne &quot;%1&quot;</source>
        <translation>Expected NAME=VALUE, not &quot;%1&quot;</translation>
    </message>
    <message>
        <source>Tabulka nemá pole &quot;%1&quot;</source>
        <translation>The table has no field &quot;%1&quot;</translation>
    </message>
    <message>
        <source>Pro pole %1 nelze použít hodnotu &quot;%2&quot;</source>
        <translation>Value &quot;%2&quot; cannot be used for field %1</translation>
    </message>
    <message>
        <source>Příkaz read čeká čísla tabulek</source>
        <translation>The read command expects table numbers</translation>
    </message>
    <message>
        <source>Příkaz write čeká číslo tabulky a JMÉNO=HODNOTA</source>
        <translation>The write command expects a table number and NAME=VALUE</translation>
    </message>
    <message>
        <source>Tabulku %1 nelze zapsat</source>
        <translation>Table %1 cannot be written</translation>
    </message>
    <message>
        <source>Neznámý příkaz &quot;%1&quot;</source>
        <translation>Unknown command &quot;%1&quot;</translation>
    </message>
    <message>
        <source>Použití: qzr17ctl [--port COMn|CESTA] [--baud N] [--da N] [--sa N] [--trace] PŘÍKAZ
Příkazy:
  probe                    ověří, že stanice na adrese DA odpovídá
  scan                     vypíše adresy 0..126, které odpovídají
  type, version            vypíše typ nebo verzi přístroje
  read T...                vypíše pole tabulek T po řádcích JMÉNO=hodnota
  write T JMÉNO=HODNOTA... přečte tabulku T, změní pole a zapíše ji
  eeprom                   uloží nastavení regulátoru do EEPROM
  ports                    vypíše sériové porty počítače a kam vedou odkazy COMn
  dump [SOUBOR]            uloží sadu parametrů regulátoru do souboru (bez něj vypíše)
  load SOUBOR [--eeprom] [--force]
                           zapíše sadu parametrů ze souboru (adresu ne), případně do EEPROM;
                           sadu z přístroje jiného typu jen s --force
  diff SOUBOR              vypíše pole, v nichž se regulátor liší od souboru
Volby, které chybí, se berou z nastavení (PORT: COM, BAUDRATE; ADRESA: DA, SA).
--trace vypíše každý telegram na standardní chybový výstup.
Návratový kód: 0 úspěch, 1 výměna selhala (diff: regulátor se liší), 2 chybné použití, port
nebo soubor.
qzr17ctl --version vypíše verzi programu.</source>
        <translation>Usage: qzr17ctl [--port COMn|PATH] [--baud N] [--da N] [--sa N] [--trace] COMMAND
Commands:
  probe                    checks that the station at address DA answers
  scan                     lists the addresses 0..126 that answer
  type, version            prints the device type or version
  read T...                prints the fields of tables T, one NAME=value a line
  write T NAME=VALUE...    reads table T, changes the fields and writes it back
  eeprom                   stores the regulator settings in EEPROM
  ports                    lists the serial ports of the computer and where the COMn links lead
  dump [FILE]              saves the regulator&apos;s parameter set to a file (or prints it)
  load FILE [--eeprom] [--force]
                           writes the parameter set from a file (not the address), optionally to EEPROM;
                           a set of another device type only with --force
  diff FILE                lists the fields in which the regulator differs from the file
Options not given are taken from the settings (PORT: COM, BAUDRATE; ADRESA: DA, SA).
--trace prints every telegram to standard error.
Exit status: 0 success, 1 exchange failed (diff: the regulator differs), 2 wrong usage, port
or file.
qzr17ctl --version prints the program version.</translation>
    </message>
    <message>
        <source>Tabulka &quot;%1&quot; neexistuje</source>
        <translation>Table &quot;%1&quot; does not exist</translation>
    </message>
    <message>
        <source>Příkaz dump čeká nejvýš jeden soubor</source>
        <translation>The dump command takes at most one file</translation>
    </message>
    <message>
        <source>Příkaz %1 čeká jeden soubor se sadou parametrů</source>
        <translation>The %1 command expects one parameter set file</translation>
    </message>
    <message>
        <source>Regulátor má hodnotu mimo rozsah, sadu by nešlo načíst: %1</source>
        <translation>The regulator holds a value out of range; the set could not be loaded: %1</translation>
    </message>
    <message>
        <source>Tabulka 20 (vstupy alarmů) se vynechává: regulátor má firmware starší než 3. 10. 2008.</source>
        <translation>Table 20 (alarm inputs) is left out: the regulator&apos;s firmware is older than 3 October 2008.</translation>
    </message>
    <message>
        <source>Do regulátoru se nezapsala žádná tabulka; do EEPROM se nic neuložilo.</source>
        <translation>No table was written to the regulator; nothing was stored in EEPROM.</translation>
    </message>
    <message>
        <source>V pracovní paměti (RAM) regulátoru už jsou tabulky %1; do EEPROM se nic neuložilo.</source>
        <translation>Tables %1 are already in the regulator&apos;s working memory (RAM); nothing was stored in EEPROM.</translation>
    </message>
    <message>
        <source>Verze přístroje &quot;%1&quot; neudává datum firmwaru: %2</source>
        <translation>The device version &quot;%1&quot; gives no firmware date: %2</translation>
    </message>
    <message>
        <source>%1: sada je z přístroje typu &quot;%2&quot;, regulátor je typu &quot;%3&quot;; zapsat ji lze jen s volbou --force</source>
        <translation>%1: the set comes from a device of type &quot;%2&quot;, the regulator is of type &quot;%3&quot;; it is written only with --force</translation>
    </message>
    <message>
        <source>Sada nemá tabulky %1; v regulátoru zůstávají, jak jsou.</source>
        <translation>The set lacks tables %1; the regulator keeps them as they are.</translation>
    </message>
    <message>
        <source>Sada je celá v pracovní paměti (RAM) regulátoru, uložení do EEPROM ale nebylo potvrzeno.</source>
        <translation>The whole set is in the regulator&apos;s working memory (RAM), but storing it in EEPROM was not acknowledged.</translation>
    </message>
    <message>
        <source>Příkaz log-csv čeká jeden soubor</source>
        <translation>The command log-csv expects one file</translation>
    </message>
    <message>
        <source>Standardní výstup nelze zapsat</source>
        <translation>Cannot write to standard output</translation>
    </message>
    <message>
        <source>qzr17ctl log-csv SOUBOR vypíše záznam měření jako CSV v UTF-8 (bez portu).</source>
        <translation>qzr17ctl log-csv FILE prints a measurement log as CSV in UTF-8 (no port needed).</translation>
    </message>
    <message>
        <source>Záznam %1 nelze zapsat: %2</source>
        <translation>Log %1 cannot be written: %2</translation>
    </message>
    <message>
        <source>Regulátor odpovídá</source>
        <translation>The regulator answers</translation>
    </message>
    <message>
        <source>Regulátor neodpovídá</source>
        <translation>The regulator does not answer</translation>
    </message>
    <message>
        <source>%1, adresa %2</source>
        <translation>%1, address %2</translation>
    </message>
    <message>
        <source>MQTT: připojuji se k %1 jako kv36/%2</source>
        <translation>MQTT: connecting to %1 as kv36/%2</translation>
    </message>
    <message>
        <source>MQTT: nelze se připojit k %1: %2</source>
        <translation>MQTT: cannot connect to %1: %2</translation>
    </message>
    <message>
        <source>MQTT: připojeno k %1</source>
        <translation>MQTT: connected to %1</translation>
    </message>
    <message>
        <source>MQTT: bez spojení s %1 (%2)</source>
        <translation>MQTT: not connected to %1 (%2)</translation>
    </message>
    <message>
        <source>Záznam %1 se zapisuje</source>
        <translation>Log %1 is being written</translation>
    </message>
    <message>
        <source>Ukončeno</source>
        <translation>Stopped</translation>
    </message>
    <message>
        <source>teplota vody</source>
        <translation>flow temperature</translation>
    </message>
    <message>
        <source>venkovní teplota</source>
        <translation>outdoor temperature</translation>
    </message>
    <message>
        <source>žádaná</source>
        <translation>setpoint</translation>
    </message>
    <message>
        <source>útlum</source>
        <translation>setback</translation>
    </message>
    <message>
        <source>odchylka</source>
        <translation>deviation</translation>
    </message>
    <message>
        <source>Volba --interval čeká počet sekund 1 až %1, ne &quot;%2&quot;</source>
        <translation>Option --interval expects a number of seconds 1 to %1, not &quot;%2&quot;</translation>
    </message>
    <message>
        <source>Volba --mqtt čeká POČÍTAČ nebo POČÍTAČ:PORT, ne &quot;%1&quot;</source>
        <translation>Option --mqtt expects HOST or HOST:PORT, not &quot;%1&quot;</translation>
    </message>
    <message>
        <source>Soubor %1 nelze číst: %2</source>
        <translation>The file %1 cannot be read: %2</translation>
    </message>
    <message>
        <source>Soubor %1 čeká jméno na prvním řádku a heslo na druhém</source>
        <translation>The file %1 should hold the user name on its first line and the password on its second</translation>
    </message>
    <message>
        <source>Příkaz watch čeká --log nebo --mqtt</source>
        <translation>The command watch expects --log or --mqtt</translation>
    </message>
    <message>
        <source>Volby --mqtt-credentials a --mqtt-cafile platí jen s --mqtt</source>
        <translation>The options --mqtt-credentials and --mqtt-cafile apply only with --mqtt</translation>
    </message>
    <message>
        <source>Volba --name čeká písmena nebo číslice, ne &quot;%1&quot;</source>
        <translation>Option --name expects letters or digits, not &quot;%1&quot;</translation>
    </message>
    <message>
        <source>Volba --daily platí jen s --log</source>
        <translation>Option --daily applies only with --log</translation>
    </message>
    <message>
        <source>  watch [--interval S] [--log SOUBOR [--daily]] [--mqtt POČÍTAČ[:PORT]
        [--mqtt-credentials SOUBOR] [--mqtt-cafile SOUBOR] [--name JMÉNO]]
                           čte naměřené hodnoty každých S sekund (10), dokud neskončí
                           (SIGTERM, SIGINT, SIGHUP); zapisuje je do záznamu jako okno programu
                           (--daily: soubor na každý den, SOUBOR-RRRR-MM-DD.txt) a posílá
                           je na MQTT broker pro Home Assistant; do regulátoru nezapisuje.
                           Přístupové údaje: jméno a heslo na dvou řádcích souboru, který
                           smí používat jen vlastník. Chybné volby a odmítnuté soubory: kód 78.</source>
        <translation>  watch [--interval S] [--log FILE [--daily]] [--mqtt HOST[:PORT]
        [--mqtt-credentials FILE] [--mqtt-cafile FILE] [--name NAME]]
                           reads the measured values every S seconds (10) until stopped
                           (SIGTERM, SIGINT, SIGHUP); writes them to a log as the program&apos;s window
                           does (--daily: a file a day, FILE-YYYY-MM-DD.txt) and publishes
                           them to an MQTT broker for Home Assistant; never writes to the
                           regulator. Credentials: user name and password on two lines of
                           a file that only its owner may use. Bad options and refused files: code 78.</translation>
    </message>
    <message>
        <source>MQTT: čeká se na typ přístroje, který ho pojmenuje (nebo --name)</source>
        <translation>MQTT: waiting for the device type that names it (or --name)</translation>
    </message>
    <message>
        <source>--port bere i sériový server v síti: tcp://POČÍTAČ:PORT nebo rfc2217://POČÍTAČ:PORT.</source>
        <translation>--port also takes a serial server on the network: tcp://HOST:PORT or rfc2217://HOST:PORT.</translation>
    </message>
    <message>
        <source>scan --texts vypíše u každé adresy i typ a verzi přístroje (oddělené tabulátorem).</source>
        <translation>scan --texts also prints the device type and version beside each address (separated by tabs).</translation>
    </message>
    <message>
        <source>Příkaz scan zná jen volbu --texts</source>
        <translation>The scan command knows only the option --texts</translation>
    </message>
    <message>
        <source>Spojení se serverem %1 je přerušeno</source>
        <translation>The connection to server %1 is lost</translation>
    </message>
    <message>
        <source>Zařízení portu %1 není připojeno</source>
        <translation>The device of port %1 is not connected</translation>
    </message>
    <message>
        <source>Soubor %1 smí používat i jiný uživatel než vlastník (skupina nebo ostatní); přístupové údaje v něm nelze použít (chmod 600)</source>
        <translation>Users other than its owner (group or others) may use the file %1; its credentials cannot be used (chmod 600)</translation>
    </message>
    <message>
        <source>server nedostupný: %1</source>
        <translation>server unreachable: %1</translation>
    </message>
    <message>
        <source>server přijal spojení, ale nepotvrdil nastavení linky (RFC 2217)</source>
        <translation>the server accepted the connection but did not confirm the line settings (RFC 2217)</translation>
    </message>
    <message>
        <source>server přijal spojení</source>
        <translation>the server accepted the connection</translation>
    </message>
    <message>
        <source>neplatná adresa serveru: %1</source>
        <translation>invalid server address: %1</translation>
    </message>
    <message>
        <source>není připojeno</source>
        <translation>not connected</translation>
    </message>
    <message>
        <source>spojení se ztratilo</source>
        <translation>the connection was lost</translation>
    </message>
    <message>
        <source>bez spojení</source>
        <translation>not connected</translation>
    </message>
    <message>
        <source>broker spojení odmítl</source>
        <translation>the broker refused the connection</translation>
    </message>
    <message>
        <source>šifrované spojení (TLS) se nepodařilo navázat</source>
        <translation>the encrypted (TLS) connection could not be established</translation>
    </message>
    <message>
        <source>broker přestal odpovídat</source>
        <translation>the broker stopped answering</translation>
    </message>
    <message>
        <source>název brokeru nelze přeložit na adresu</source>
        <translation>the broker name cannot be resolved to an address</translation>
    </message>
    <message>
        <source>broker nemluví protokolem MQTT</source>
        <translation>the broker does not speak MQTT</translation>
    </message>
    <message>
        <source>chyba sítě</source>
        <translation>network error</translation>
    </message>
    <message>
        <source>nedostatek paměti</source>
        <translation>out of memory</translation>
    </message>
    <message>
        <source>na portu brokeru nikdo nenaslouchá</source>
        <translation>nobody listens on the broker port</translation>
    </message>
    <message>
        <source>broker není dostupný</source>
        <translation>the broker is unreachable</translation>
    </message>
    <message>
        <source>broker spojení ukončil</source>
        <translation>the broker closed the connection</translation>
    </message>
    <message>
        <source>broker neodpověděl</source>
        <translation>the broker did not answer</translation>
    </message>
    <message>
        <source>síť k brokeru není dostupná</source>
        <translation>the network to the broker is unreachable</translation>
    </message>
    <message>
        <source>broker nepodporuje tuto verzi MQTT</source>
        <translation>the broker does not support this MQTT version</translation>
    </message>
    <message>
        <source>broker odmítl identifikátor klienta</source>
        <translation>the broker refused the client identifier</translation>
    </message>
    <message>
        <source>služba brokeru není dostupná</source>
        <translation>the broker service is unavailable</translation>
    </message>
    <message>
        <source>broker nepřijal jméno nebo heslo</source>
        <translation>the broker did not accept the user name or password</translation>
    </message>
    <message>
        <source>broker nepovolil přístup</source>
        <translation>the broker denied access</translation>
    </message>
    <message>
        <source>broker spojení odmítl (kód %1)</source>
        <translation>the broker refused the connection (code %1)</translation>
    </message>
    <message>
        <source>%1; šifruje-li broker na portu %2 spojení (TLS), chybí --mqtt-cafile</source>
        <translation>%1; if the broker encrypts port %2 (TLS), --mqtt-cafile is missing</translation>
    </message>
    <message>
        <source>broker do %1 s spojení nepřijal</source>
        <translation>the broker did not accept the connection within %1 s</translation>
    </message>
    <message>
        <source>dvě odpovědi regulátoru se neshodují, jedna patřila jinému požadavku</source>
        <translation>two replies of the regulator differ, one of them belonged to another request</translation>
    </message>
    <message>
        <source>regulátor zápis potvrdil, přečtená tabulka se ale od zapsané liší</source>
        <translation>the regulator acknowledged the write, but the table read back differs from the one written</translation>
    </message>
    <message>
        <source>regulátor zápis potvrdil, tabulku ale nešlo přečíst zpět: %1</source>
        <translation>the regulator acknowledged the write, but the table could not be read back: %1</translation>
    </message>
    <message>
        <source>Tabulka %1 se do pracovní paměti (RAM) regulátoru možná zapsala, zápis se nepotvrdil; do EEPROM se nic neuložilo.</source>
        <translation>Table %1 may have been written to the regulator&apos;s working memory (RAM), the write was not confirmed; nothing was stored in EEPROM.</translation>
    </message>
    <message>
        <source>V pracovní paměti (RAM) regulátoru už jsou tabulky %1 a možná i tabulka %2, jejíž zápis se nepotvrdil; do EEPROM se nic neuložilo.</source>
        <translation>The regulator&apos;s working memory (RAM) already holds tables %1 and possibly table %2, whose write was not confirmed; nothing was stored in EEPROM.</translation>
    </message>
</context>
<context>
    <name>regulator_sequences</name>
    <message>
        <source>Komunikace</source>
        <translation>Communication</translation>
    </message>
    <message>
        <source>Dotaz</source>
        <translation>Confirm</translation>
    </message>
    <message>
        <source>Nebylo navázáno spojení s regulátorem</source>
        <translation>No connection with the regulator</translation>
    </message>
    <message>
        <source>Chyba při čtení dat z regulátoru</source>
        <translation>Error reading data from the regulator</translation>
    </message>
    <message>
        <source>Chyba, špatně zadaný rozsah dat</source>
        <translation>Error: value out of range</translation>
    </message>
    <message>
        <source>Chyba při zápisu</source>
        <translation>Write error</translation>
    </message>
    <message>
        <source>Z regulátoru nebyly načteny tyto stránky: %1.
Opravdu chceš zapsat i jejich hodnoty?</source>
        <translation>These pages were not read from the regulator: %1.
Do you really want to write their values too?</translation>
    </message>
    <message>
        <source>Z regulátoru nebyly načteny tyto dny: %1.
Opravdu chceš zapsat i jejich program?</source>
        <translation>These days were not read from the regulator: %1.
Do you really want to write their schedules too?</translation>
    </message>
    <message>
        <source>Hodnoty těchto karet už jsou v pracovní paměti (RAM) regulátoru: %1.
Do EEPROM se nic neuložilo.</source>
        <translation>The values of these pages are already in the regulator&apos;s working memory (RAM): %1.
Nothing was stored in EEPROM.</translation>
    </message>
    <message>
        <source>Program těchto dnů už je v pracovní paměti (RAM) regulátoru: %1.
Do EEPROM se nic neuložilo.</source>
        <translation>The schedule of these days is already in the regulator&apos;s working memory (RAM): %1.
Nothing was stored in EEPROM.</translation>
    </message>
</context>
<context>
    <name>report_preview</name>
    <message>
        <source>Protokol o nastavení</source>
        <translation>Commissioning report</translation>
    </message>
    <message>
        <source>&amp;Technik:</source>
        <translation>&amp;Technician:</translation>
    </message>
    <message>
        <source>Technik</source>
        <translation>Technician</translation>
    </message>
    <message>
        <source>&amp;Poznámka:</source>
        <translation>&amp;Note:</translation>
    </message>
    <message>
        <source>Poznámka</source>
        <translation>Note</translation>
    </message>
    <message>
        <source>Náhled protokolu</source>
        <translation>Report preview</translation>
    </message>
    <message>
        <source>Tisk...</source>
        <translation>Print...</translation>
    </message>
    <message>
        <source>Tisk</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>Uložit jako PDF...</source>
        <translation>Save as PDF...</translation>
    </message>
    <message>
        <source>Uložit jako PDF</source>
        <translation>Save as PDF</translation>
    </message>
    <message>
        <source>Zavřít</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>set_compare</name>
    <message>
        <source>Porovnání se souborem</source>
        <translation>Comparison with file</translation>
    </message>
    <message>
        <source>Rozdílná pole</source>
        <translation>Fields that differ</translation>
    </message>
    <message>
        <source>Karta</source>
        <translation>Page</translation>
    </message>
    <message>
        <source>Pole</source>
        <translation>Field</translation>
    </message>
    <message>
        <source>V souboru</source>
        <translation>In the file</translation>
    </message>
    <message>
        <source>V okně</source>
        <translation>In the window</translation>
    </message>
</context>
</TS>
