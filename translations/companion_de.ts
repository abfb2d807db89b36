<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>Companion</name>
    <message>
        <source>Usage: quillmere-sheet [options] -o FILE
Generates the Personal Finance budget workbook without windows.</source>
        <translation>Aufruf: quillmere-sheet [Optionen] -o DATEI
Erstellt die Budget-Arbeitsmappe „Persönliche Finanzen“ ohne Fenster.</translation>
    </message>
    <message>
        <source>FILE</source>
        <extracomment>The name of an option&apos;s value in the help: a file name. Capitals, no spaces.</extracomment>
        <translation>DATEI</translation>
    </message>
    <message>
        <source>FORMAT</source>
        <extracomment>The name of an option&apos;s value in the help: a file format. Capitals, no spaces.</extracomment>
        <translation>FORMAT</translation>
    </message>
    <message>
        <source>N</source>
        <extracomment>The name of an option&apos;s value in the help: an amount of money. Capitals, no spaces.</extracomment>
        <translation>BETRAG</translation>
    </message>
    <message>
        <source>write the workbook to FILE (- for standard output): an .xlsx
workbook when FILE ends in .xlsx, the printed pages as PDF when
it ends in .pdf, else an .xls workbook (also with no ending)</source>
        <translation>die Arbeitsmappe in DATEI schreiben (- für die Standardausgabe):
eine .xlsx-Arbeitsmappe, wenn DATEI auf .xlsx endet, die
Druckseiten als PDF, wenn sie auf .pdf endet, sonst eine
.xls-Arbeitsmappe (auch ohne Endung)</translation>
    </message>
    <message>
        <source>xls, xlsx or pdf: write FILE in that format, whatever its ending</source>
        <translation>xls, xlsx oder pdf: DATEI in diesem Format schreiben,
unabhängig von ihrer Endung</translation>
    </message>
    <message>
        <source>write the sheet&apos;s picture to FILE (PNG for .png, else BMP;
- for standard output, as BMP)</source>
        <translation>das Bild der Tabelle in DATEI schreiben (PNG bei .png, sonst
BMP; - für die Standardausgabe, als BMP)</translation>
    </message>
    <message>
        <source>use the default categories and incomes, not the settings store</source>
        <translation>die Standardkategorien und Standardeinnahmen verwenden, nicht
die gespeicherten Einstellungen</translation>
    </message>
    <message>
        <source>use G groups of I items each (for size tests and benchmarks;
at most 200 groups, and as many items as one sheet holds)</source>
        <translation>G Gruppen mit je I Posten verwenden (für Größentests und
Benchmarks; höchstens 200 Gruppen und so viele Posten, wie
eine Tabelle fasst)</translation>
    </message>
    <message>
        <source>use the categories and planned amounts of the CSV file FILE
(- for standard input), not the settings store</source>
        <translation>die Kategorien und geplanten Beträge der CSV-Datei DATEI
verwenden (- für die Standardeingabe), nicht die gespeicherten
Einstellungen</translation>
    </message>
    <message>
        <source>write the categories the run would use to FILE as CSV
(- for standard output) instead of a workbook</source>
        <translation>die Kategorien, die der Lauf verwenden würde, als CSV in DATEI
schreiben (- für die Standardausgabe), statt einer Arbeitsmappe</translation>
    </message>
    <message>
        <source>projected income</source>
        <translation>geplante Einnahmen</translation>
    </message>
    <message>
        <source>projected extra income</source>
        <translation>geplante Zusatzeinnahmen</translation>
    </message>
    <message>
        <source>actual extra income</source>
        <translation>tatsächliche Zusatzeinnahmen</translation>
    </message>
    <message>
        <source>actual income</source>
        <translation>tatsächliche Einnahmen</translation>
    </message>
    <message>
        <source>show this text</source>
        <translation>diesen Text anzeigen</translation>
    </message>
    <message>
        <source>show the version</source>
        <translation>die Version anzeigen</translation>
    </message>
    <message>
        <source>%1 needs a value</source>
        <translation>%1 braucht einen Wert</translation>
    </message>
    <message>
        <source>--format wants xls, xlsx or pdf</source>
        <translation>--format erwartet xls, xlsx oder pdf</translation>
    </message>
    <message>
        <source>--synthetic wants GROUPSxITEMS, such as 200x50</source>
        <translation>--synthetic erwartet GRUPPENxPOSTEN, etwa 200x50</translation>
    </message>
    <message>
        <source>--synthetic %1: %2</source>
        <translation>--synthetic %1: %2</translation>
    </message>
    <message>
        <source>unknown option %1</source>
        <translation>unbekannte Option %1</translation>
    </message>
    <message>
        <source>--categories, --defaults and --synthetic each choose the categories; give one</source>
        <translation>--categories, --defaults und --synthetic wählen jeweils die Kategorien; geben Sie nur eine davon an</translation>
    </message>
    <message>
        <source>--export-categories writes no workbook; leave out -o and --picture</source>
        <translation>--export-categories schreibt keine Arbeitsmappe; lassen Sie -o und --picture weg</translation>
    </message>
    <message>
        <source>nothing to write: give -o FILE and/or --picture FILE, or --export-categories FILE</source>
        <translation>nichts zu schreiben: Geben Sie -o DATEI und/oder --picture DATEI an, oder --export-categories DATEI</translation>
    </message>
    <message>
        <source>Cannot write the workbook to standard output: %1</source>
        <translation>Die Arbeitsmappe kann nicht in die Standardausgabe geschrieben werden: %1</translation>
    </message>
    <message>
        <source>Cannot write the picture to standard output: %1</source>
        <translation>Das Bild kann nicht in die Standardausgabe geschrieben werden: %1</translation>
    </message>
    <message>
        <source>Cannot write the categories to standard output: %1</source>
        <translation>Die Kategorien können nicht in die Standardausgabe geschrieben werden: %1</translation>
    </message>
    <message>
        <source>cannot read the categories from standard input: %1</source>
        <translation>die Kategorien können nicht von der Standardeingabe gelesen werden: %1</translation>
    </message>
    <message>
        <source>it is larger than %1 MB</source>
        <translation>die Eingabe ist größer als %1 MB</translation>
    </message>
    <message>
        <source>cannot use the categories file on standard input: line %1: %2.</source>
        <translation>die Kategoriendatei auf der Standardeingabe kann nicht verwendet werden: Zeile %1: %2.</translation>
    </message>
    <message>
        <source>cannot use the categories file %1: line %2: %3.</source>
        <translation>die Kategoriendatei %1 kann nicht verwendet werden: Zeile %2: %3.</translation>
    </message>
    <message>
        <source>cannot read the saved categories in %1: %2. Use --defaults, or repair or remove that file.</source>
        <translation>die gespeicherten Kategorien in %1 können nicht gelesen werden: %2. Verwenden Sie --defaults, oder reparieren oder entfernen Sie diese Datei.</translation>
    </message>
    <message>
        <source>cannot read the saved categories: %1</source>
        <translation>die gespeicherten Kategorien können nicht gelesen werden: %1</translation>
    </message>
    <message>
        <source>the saved income for --income%1 (&quot;%2&quot;) is not an amount: %3 Give --income%1 AMOUNT, or correct it in the window.</source>
        <translation>die gespeicherten Einnahmen für --income%1 („%2“) sind kein Betrag: %3 Geben Sie --income%1 BETRAG an, oder korrigieren Sie sie im Fenster.</translation>
    </message>
    <message>
        <source>cannot generate the workbook (nothing was written): %1</source>
        <translation>die Arbeitsmappe kann nicht erstellt werden (es wurde nichts geschrieben): %1</translation>
    </message>
    <message>
        <source>The sheet has no picture to write</source>
        <translation>Die Tabelle hat kein Bild, das geschrieben werden kann</translation>
    </message>
    <message>
        <source>Try &apos;quillmere-sheet --help&apos;.</source>
        <translation>Weitere Informationen mit „quillmere-sheet --help“.</translation>
    </message>
    <message>
        <source>-o and --picture both name standard output</source>
        <translation>-o und --picture nennen beide die Standardausgabe</translation>
    </message>
    <message>
        <source>%1 - would write binary data to the terminal; redirect standard output to a file or a pipe (%1 - &gt; FILE)</source>
        <translation>%1 - würde Binärdaten auf das Terminal schreiben; leiten Sie die Standardausgabe in eine Datei oder eine Pipe um (%1 - &gt; DATEI)</translation>
    </message>
    <message>
        <source>-o and --picture name the same file (%1 and %2); give two different files</source>
        <translation>-o und --picture nennen dieselbe Datei (%1 und %2); geben Sie zwei verschiedene Dateien an</translation>
    </message>
    <message>
        <source>%1 %2 names %3, where the saved categories and incomes are kept; give another file</source>
        <translation>%1 %2 bezeichnet %3, wo die gespeicherten Kategorien und Einnahmen liegen; geben Sie eine andere Datei an</translation>
    </message>
    <message>
        <source>To write the workbook to standard output, give -o -.</source>
        <translation>Um die Arbeitsmappe in die Standardausgabe zu schreiben, geben Sie -o - an.</translation>
    </message>
    <message>
        <source>CODE</source>
        <extracomment>The name of an option&apos;s value in the help: a currency code such as EUR. Capitals, no spaces.</extracomment>
        <translation>CODE</translation>
    </message>
    <message>
        <source>PAPER</source>
        <extracomment>The name of an option&apos;s value in the help: a paper size. Capitals, no spaces.</extracomment>
        <translation>PAPIER</translation>
    </message>
    <message>
        <source>(in the locale&apos;s form or the plain one, such as 1234.56)</source>
        <translation>(in der Schreibweise des Gebietsschemas oder in der einfachen,
etwa 1234.56)</translation>
    </message>
    <message>
        <source>show the amounts in the currency CODE (USD, EUR, GBP, CHF,
JPY, CAD, AUD, SEK, NOK, DKK, PLN, CZK or the locale&apos;s own);
else the settings store&apos;s, or USD without it</source>
        <translation>die Beträge in der Währung CODE anzeigen (USD, EUR, GBP, CHF,
JPY, CAD, AUD, SEK, NOK, DKK, PLN, CZK oder die des
Gebietsschemas); sonst die der gespeicherten Einstellungen,
ohne diese USD</translation>
    </message>
    <message>
        <source>a4 or letter: the paper the sheet is printed on (else the
settings store&apos;s, or A4 without it)</source>
        <translation>a4 oder letter: das Papier, auf dem die Tabelle gedruckt wird
(sonst das der gespeicherten Einstellungen, ohne diese A4)</translation>
    </message>
    <message>
        <source>--currency &quot;%1&quot; is not a currency this program knows; give one of %2</source>
        <translation>--currency „%1“ ist keine Währung, die dieses Programm kennt; geben Sie eine von diesen an: %2</translation>
    </message>
    <message>
        <source>--paper wants a4 or letter</source>
        <translation>--paper erwartet a4 oder letter</translation>
    </message>
    <message>
        <source>--income%1 &quot;%2&quot; is not an amount: %3</source>
        <translation>--income%1 „%2“ ist kein Betrag: %3</translation>
    </message>
</context>
</TS>
