<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>quill::ErrorTrap</name>
    <message>
        <source>Please email screenshot of this message to %1</source>
        <translation>Bitte senden Sie ein Bildschirmfoto dieser Meldung per E-Mail an %1</translation>
    </message>
    <message>
        <source>Out of memory</source>
        <translation>Nicht genügend Arbeitsspeicher</translation>
    </message>
    <message>
        <source>Overflow: %1</source>
        <translation>Überlauf: %1</translation>
    </message>
    <message>
        <source>Unexpected failure</source>
        <translation>Unerwarteter Fehler</translation>
    </message>
</context>
<context>
    <name>quill::MemoryCategoryTree</name>
    <message>
        <source>Invalid relationship for a new tree node</source>
        <translation>Ungültige Beziehung für einen neuen Knoten der Baumansicht</translation>
    </message>
    <message>
        <source>Element not found: no tree node has the key &quot;%1&quot;</source>
        <translation>Element nicht gefunden: Kein Knoten der Baumansicht hat den Schlüssel „%1“</translation>
    </message>
    <message>
        <source>Key is not unique in collection: &quot;%1&quot;</source>
        <translation>Schlüssel ist in der Auflistung nicht eindeutig: „%1“</translation>
    </message>
    <message>
        <source>Index out of bounds: the tree has no node</source>
        <translation>Index außerhalb des gültigen Bereichs: Die Baumansicht hat keinen Knoten</translation>
    </message>
</context>
<context>
    <name>quill::SafeReplace</name>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>%1 kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>Cannot read %1: %2</source>
        <translation>%1 kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation>es ist keine normale Datei</translation>
    </message>
    <message>
        <source>it is larger than %1 MB</source>
        <translation>sie ist größer als %1 MB</translation>
    </message>
    <message>
        <source>a folder</source>
        <translation>ein Ordner</translation>
    </message>
    <message>
        <source>a device</source>
        <translation>ein Gerät</translation>
    </message>
    <message>
        <source>a named pipe</source>
        <translation>eine benannte Pipe</translation>
    </message>
    <message>
        <source>a socket</source>
        <translation>ein Socket</translation>
    </message>
    <message>
        <source>not a regular file</source>
        <translation>keine normale Datei</translation>
    </message>
    <message>
        <source>%1 is %2, not a regular file; it was left as it is. Choose another name.</source>
        <translation>%1 ist %2, keine normale Datei; es wurde nicht verändert. Wählen Sie einen anderen Namen.</translation>
    </message>
    <message>
        <source>%1 is read-only; it was left as it is. Choose another name, or make the file writable first.</source>
        <translation>%1 ist schreibgeschützt; die Datei wurde nicht verändert. Wählen Sie einen anderen Namen oder heben Sie zuerst den Schreibschutz auf.</translation>
    </message>
    <message>
        <source>No file name was given</source>
        <translation>Es wurde kein Dateiname angegeben</translation>
    </message>
    <message>
        <source>Cannot write %1: it is already closed</source>
        <translation>%1 kann nicht geschrieben werden: Die Datei ist bereits geschlossen</translation>
    </message>
    <message>
        <source>Cannot write %1 twice</source>
        <translation>%1 kann nicht zweimal geschrieben werden</translation>
    </message>
    <message>
        <source>Cannot remove %1: %2</source>
        <translation>%1 kann nicht entfernt werden: %2</translation>
    </message>
    <message>
        <source>, so it keeps its new contents</source>
        <translation>, daher behält die Datei ihren neuen Inhalt</translation>
    </message>
</context>
<context>
    <name>quill::SettingsStore</name>
    <message>
        <source>a folder</source>
        <translation>ein Ordner</translation>
    </message>
    <message>
        <source>a named pipe</source>
        <translation>eine benannte Pipe</translation>
    </message>
    <message>
        <source>a device</source>
        <translation>ein Gerät</translation>
    </message>
    <message>
        <source>a socket</source>
        <translation>ein Socket</translation>
    </message>
    <message>
        <source>a special file</source>
        <translation>eine Spezialdatei</translation>
    </message>
    <message>
        <source>%1 could not be saved to %2: %3.</source>
        <translation>%1: Speichern in %2 nicht möglich: %3.</translation>
    </message>
    <message>
        <source>another program is writing it (it holds the lock file %1)</source>
        <translation>ein anderes Programm schreibt gerade in die Datei (es hält die Sperrdatei %1)</translation>
    </message>
    <message>
        <source>the lock file %1 cannot be made there (no permission)</source>
        <translation>die Sperrdatei %1 kann dort nicht angelegt werden (keine Berechtigung)</translation>
    </message>
    <message>
        <source>the lock file %1 cannot be made there</source>
        <translation>die Sperrdatei %1 kann dort nicht angelegt werden</translation>
    </message>
    <message>
        <source>parts of the file are not in the settings format</source>
        <translation>Teile der Datei sind nicht im Einstellungsformat</translation>
    </message>
    <message>
        <source>the file cannot be read</source>
        <translation>die Datei kann nicht gelesen werden</translation>
    </message>
    <message>
        <source>the path is %1, not a regular file</source>
        <translation>der Pfad ist %1, keine normale Datei</translation>
    </message>
    <message>
        <source>The settings could not be saved to %1: %2.</source>
        <translation>Die Einstellungen konnten nicht in %1 gespeichert werden: %2.</translation>
    </message>
    <message>
        <source>The setting &quot;%1&quot;</source>
        <translation>Die Einstellung „%1“</translation>
    </message>
    <message>
        <source>The settings</source>
        <translation>Die Einstellungen</translation>
    </message>
    <message>
        <source>The unreadable settings file %1 could not be kept as %2 (%3); it is overwritten now.</source>
        <translation>Die unlesbare Einstellungsdatei %1 konnte nicht als %2 aufbewahrt werden (%3); sie wird jetzt überschrieben.</translation>
    </message>
    <message>
        <source>its lock file %1 is %2, not a regular file; remove it so that the settings can be saved</source>
        <translation>ihre Sperrdatei %1 ist %2, keine normale Datei; entfernen Sie sie, damit die Einstellungen gespeichert werden können</translation>
    </message>
    <message>
        <source>the file is not writable</source>
        <translation>die Datei ist schreibgeschützt</translation>
    </message>
    <message>
        <source>; the file was left as it was</source>
        <translation>; die Datei blieb unverändert</translation>
    </message>
    <message>
        <source>the file was changed meanwhile and cannot be read</source>
        <translation>die Datei wurde inzwischen geändert und kann nicht gelesen werden</translation>
    </message>
    <message>
        <source>its new contents could not be written in full to a private copy in the temporary folder %1; the file was left as it was</source>
        <translation>ihr neuer Inhalt konnte nicht vollständig in eine private Kopie im temporären Ordner %1 geschrieben werden; die Datei blieb unverändert</translation>
    </message>
</context>
<context>
    <name>quill::SignalWatcher</name>
    <message>
        <source>Signals are already being watched</source>
        <translation>Signale werden bereits überwacht</translation>
    </message>
    <message>
        <source>Cannot watch for signals: %1</source>
        <translation>Signale können nicht überwacht werden: %1</translation>
    </message>
</context>
<context>
    <name>quill::TempFolder</name>
    <message>
        <source>in %1: %2</source>
        <translation>in %1: %2</translation>
    </message>
    <message>
        <source>Cannot create a temporary folder %1</source>
        <translation>Ein temporärer Ordner kann nicht angelegt werden %1</translation>
    </message>
    <message>
        <source> (TMPDIR names %1, which is not a folder)</source>
        <translation> (TMPDIR nennt %1, das kein Ordner ist)</translation>
    </message>
    <message>
        <source>. Set TMPDIR to a folder you can write to.</source>
        <translation>. Setzen Sie TMPDIR auf einen Ordner, in den Sie schreiben dürfen.</translation>
    </message>
</context>
<context>
    <name>quill::bridge::Messages</name>
    <message>
        <source>Error 842001. A normal instance of Excel could not be created.</source>
        <translation>Fehler 842001. Eine normale Instanz von Excel konnte nicht erstellt werden.</translation>
    </message>
    <message>
        <source>1. Please make sure Excel is installed on this computer.</source>
        <translation>1. Bitte stellen Sie sicher, dass Excel auf diesem Computer installiert ist.</translation>
    </message>
    <message>
        <source>2. Please open Excel normally and make sure a blank spreadsheet opens immediately without any interrupting window (such as an Excel file recovery window).</source>
        <translation>2. Bitte öffnen Sie Excel wie gewohnt und stellen Sie sicher, dass sofort eine leere Tabelle erscheint, ohne dass ein Fenster dazwischenkommt (etwa ein Fenster zur Wiederherstellung von Excel-Dateien).</translation>
    </message>
    <message>
        <source>3. Please make sure that when you double-click on a XLS or XLSX file that Excel opens normally without any interrupting messages.</source>
        <translation>3. Bitte stellen Sie sicher, dass sich Excel beim Doppelklick auf eine XLS- oder XLSX-Datei normal und ohne störende Meldungen öffnet.</translation>
    </message>
    <message>
        <source>4. All versions of Excel are supported by this software except for the rare Excel Starter and Student editions.</source>
        <translation>4. Dieses Programm unterstützt alle Excel-Versionen außer den seltenen Ausgaben Excel Starter und Student.</translation>
    </message>
    <message>
        <source>The spreadsheet application could not be created</source>
        <translation>Die Tabellenanwendung konnte nicht erstellt werden</translation>
    </message>
    <message>
        <source>Invalid picture</source>
        <translation>Ungültiges Bild</translation>
    </message>
    <message>
        <source>Cannot encode the picture for %1</source>
        <translation>Das Bild für %1 kann nicht kodiert werden</translation>
    </message>
    <message>
        <source>Object variable not set: the workbook has no active sheet</source>
        <translation>Objektvariable nicht festgelegt: Die Arbeitsmappe hat kein aktives Blatt</translation>
    </message>
    <message>
        <source>Object variable not set</source>
        <translation>Objektvariable nicht festgelegt</translation>
    </message>
    <message>
        <source>Cannot read %1: %2</source>
        <translation>%1 kann nicht gelesen werden: %2</translation>
    </message>
</context>
<context>
    <name>quill::model::Amounts</name>
    <message>
        <source>An amount cannot be negative: leave out the minus sign.</source>
        <translation>Ein Betrag kann nicht negativ sein: Lassen Sie das Minuszeichen weg.</translation>
    </message>
    <message>
        <source>Write the amount out in digits; a power of ten such as 1e5 is not an amount.</source>
        <translation>Schreiben Sie den Betrag in Ziffern aus; eine Zehnerpotenz wie 1e5 ist kein Betrag.</translation>
    </message>
    <message>
        <source>Letters such as &quot;%1&quot; cannot be part of an amount. Type digits, such as %2.</source>
        <translation>Buchstaben wie „%1“ können nicht Teil eines Betrags sein. Geben Sie Ziffern ein, etwa %2.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; cannot be part of an amount. Type digits, such as %2.</source>
        <translation>„%1“ kann nicht Teil eines Betrags sein. Geben Sie Ziffern ein, etwa %2.</translation>
    </message>
    <message>
        <source>An amount needs digits, such as %1.</source>
        <translation>Ein Betrag braucht Ziffern, etwa %1.</translation>
    </message>
    <message>
        <source>An amount can have at most %1 digits before the decimal point.</source>
        <translation>Ein Betrag kann höchstens %1 Ziffern vor dem Dezimaltrennzeichen haben.</translation>
    </message>
    <message>
        <source>An amount can have only one decimal point.</source>
        <translation>Ein Betrag kann nur ein Dezimaltrennzeichen haben.</translation>
    </message>
    <message>
        <source>Digits are grouped by threes, as in %1, and the decimal point comes last.</source>
        <translation>Ziffern werden in Dreiergruppen geschrieben, wie in %1, und das Dezimaltrennzeichen steht zuletzt.</translation>
    </message>
    <message>
        <source>Only digits can follow the decimal point.</source>
        <translation>Nach dem Dezimaltrennzeichen dürfen nur Ziffern stehen.</translation>
    </message>
    <message>
        <source>Amounts in %1 are whole numbers without decimals, such as %2.</source>
        <translation>Beträge in %1 sind ganze Zahlen ohne Nachkommastellen, etwa %2.</translation>
    </message>
</context>
<context>
    <name>quill::model::CategoryCsv</name>
    <message>
        <source>the file is not UTF-8 text; save it as UTF-8</source>
        <translation>die Datei ist kein UTF-8-Text; speichern Sie sie als UTF-8</translation>
    </message>
    <message>
        <source>a quoted field is not closed: a quote (&quot;) is missing</source>
        <translation>ein Feld in Anführungszeichen ist nicht geschlossen: Ein Anführungszeichen (&quot;) fehlt</translation>
    </message>
    <message>
        <source>text follows a closing quote; a quote inside a quoted field is written twice (&quot;&quot;)</source>
        <translation>auf ein schließendes Anführungszeichen folgt Text; ein Anführungszeichen innerhalb eines Felds in Anführungszeichen wird doppelt geschrieben (&quot;&quot;)</translation>
    </message>
    <message>
        <source>a quote (&quot;) inside a field that does not start with one; quote the whole field</source>
        <translation>ein Anführungszeichen (&quot;) in einem Feld, das nicht mit einem beginnt; setzen Sie das ganze Feld in Anführungszeichen</translation>
    </message>
    <message>
        <source>Line %1: %2.</source>
        <translation>Zeile %1: %2.</translation>
    </message>
    <message>
        <source>the file is empty; its first line must be %1</source>
        <translation>die Datei ist leer; ihre erste Zeile muss %1 lauten</translation>
    </message>
    <message>
        <source>the first line must be the header %1, not &quot;%2&quot;</source>
        <translation>die erste Zeile muss die Kopfzeile %1 sein, nicht „%2“</translation>
    </message>
    <message>
        <source>the record has %1 field(s); every record has %2: %3</source>
        <translation>der Datensatz hat %1 Feld(er); jeder Datensatz hat %2: %3</translation>
    </message>
    <message>
        <source>the group name is empty</source>
        <translation>der Gruppenname ist leer</translation>
    </message>
    <message>
        <source>the category &quot;%1&quot; comes before any group name</source>
        <translation>die Kategorie „%1“ steht vor jedem Gruppennamen</translation>
    </message>
    <message>
        <source>the group &quot;%1&quot; is declared twice; group names must differ</source>
        <translation>die Gruppe „%1“ ist zweimal angegeben; Gruppennamen müssen sich unterscheiden</translation>
    </message>
    <message>
        <source>the file has more than %1 groups and categories, more than the list can hold</source>
        <translation>die Datei hat mehr als %1 Gruppen und Kategorien, mehr als die Liste fassen kann</translation>
    </message>
    <message>
        <source>the group &quot;%1&quot; has a planned amount; a group&apos;s amount is the sum of its categories, so leave its Planned field empty</source>
        <translation>die Gruppe „%1“ hat einen geplanten Betrag; der Betrag einer Gruppe ist die Summe ihrer Kategorien, lassen Sie ihr Feld Planned also leer</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not an amount: %2</source>
        <translation>„%1“ ist kein Betrag: %2</translation>
    </message>
    <message>
        <source>the file has no groups or categories</source>
        <translation>die Datei enthält keine Gruppen oder Kategorien</translation>
    </message>
    <message>
        <source>A group has no name; name it before the categories are exported.</source>
        <translation>Eine Gruppe hat keinen Namen; benennen Sie sie, bevor die Kategorien exportiert werden.</translation>
    </message>
    <message>
        <source>Two groups are named &quot;%1&quot;; rename one of them before the categories are exported.</source>
        <translation>Zwei Gruppen heißen „%1“; benennen Sie eine davon um, bevor die Kategorien exportiert werden.</translation>
    </message>
    <message>
        <source>A category of the group &quot;%1&quot; has no name; name it before the categories are exported.</source>
        <translation>Eine Kategorie der Gruppe „%1“ hat keinen Namen; benennen Sie sie, bevor die Kategorien exportiert werden.</translation>
    </message>
</context>
<context>
    <name>quill::model::CategoryState</name>
    <message>
        <source>&quot;%1&quot; is &quot;%2&quot;, not %3</source>
        <translation>„%1“ ist „%2“, nicht %3</translation>
    </message>
    <message>
        <source>a whole number from 1 to %1</source>
        <translation>eine ganze Zahl von 1 bis %1</translation>
    </message>
    <message>
        <source>row %1 of %2 has no %3 (&quot;%4&quot; is empty or absent)</source>
        <translation>Zeile %1 von %2 hat keinen %3 („%4“ ist leer oder fehlt)</translation>
    </message>
    <message>
        <source>key</source>
        <translation>Schlüssel</translation>
    </message>
    <message>
        <source>parent key</source>
        <translation>übergeordneten Schlüssel</translation>
    </message>
    <message>
        <source>the planned amount &quot;%1&quot; is &quot;%2&quot;, not an amount</source>
        <translation>der geplante Betrag „%1“ ist „%2“, kein Betrag</translation>
    </message>
    <message>
        <source>its rows do not form a tree (%1)</source>
        <translation>ihre Zeilen bilden keinen Baum (%1)</translation>
    </message>
    <message>
        <source>The saved category list in %1 cannot be read: %2. The default categories are used instead; the saved file will be kept as %3 before it is next saved.</source>
        <translation>Die gespeicherte Kategorienliste in %1 kann nicht gelesen werden: %2. Stattdessen werden die Standardkategorien verwendet; die gespeicherte Datei wird vor dem nächsten Speichern als %3 aufbewahrt.</translation>
    </message>
    <message>
        <source>The settings file %1 cannot be used: %2. It is left as it is: the default categories and incomes are used, and nothing of this run will be saved. Remove or rename it so that your changes can be saved.</source>
        <translation>Die Einstellungsdatei %1 kann nicht verwendet werden: %2. Sie bleibt unverändert: Es werden die Standardkategorien und -einnahmen verwendet, und nichts aus dieser Sitzung wird gespeichert. Entfernen Sie die Datei oder benennen Sie sie um, damit Ihre Änderungen gespeichert werden können.</translation>
    </message>
</context>
<context>
    <name>quill::model::DefaultCategories</name>
    <message>
        <source>HOUSING</source>
        <translation>WOHNEN</translation>
    </message>
    <message>
        <source>Mortgage or rent</source>
        <translation>Miete oder Kreditrate</translation>
    </message>
    <message>
        <source>Phone</source>
        <translation>Telefon</translation>
    </message>
    <message>
        <source>Electricity</source>
        <translation>Strom</translation>
    </message>
    <message>
        <source>Gas</source>
        <translation>Gas</translation>
    </message>
    <message>
        <source>Water and sewer</source>
        <translation>Wasser und Abwasser</translation>
    </message>
    <message>
        <source>Cable</source>
        <translation>Kabelfernsehen</translation>
    </message>
    <message>
        <source>Waste removal</source>
        <translation>Müllabfuhr</translation>
    </message>
    <message>
        <source>Maintenance or repairs</source>
        <translation>Wartung oder Reparaturen</translation>
    </message>
    <message>
        <source>Supplies</source>
        <translation>Haushaltsbedarf</translation>
    </message>
    <message>
        <source>Other</source>
        <translation>Sonstiges</translation>
    </message>
    <message>
        <source>TRANSPORTATION</source>
        <translation>VERKEHR</translation>
    </message>
    <message>
        <source>Vehicle payment</source>
        <translation>Fahrzeugrate</translation>
    </message>
    <message>
        <source>Bus/taxi fare</source>
        <translation>Bus/Taxi</translation>
    </message>
    <message>
        <source>Insurance</source>
        <translation>Versicherung</translation>
    </message>
    <message>
        <source>Licensing</source>
        <translation>Zulassung</translation>
    </message>
    <message>
        <source>Fuel</source>
        <translation>Kraftstoff</translation>
    </message>
    <message>
        <source>Maintenance</source>
        <translation>Wartung</translation>
    </message>
    <message>
        <source>INSURANCE</source>
        <translation>VERSICHERUNGEN</translation>
    </message>
    <message>
        <source>Home</source>
        <translation>Hausrat</translation>
    </message>
    <message>
        <source>Health</source>
        <translation>Krankenversicherung</translation>
    </message>
    <message>
        <source>Life</source>
        <translation>Lebensversicherung</translation>
    </message>
    <message>
        <source>FOOD</source>
        <translation>ESSEN</translation>
    </message>
    <message>
        <source>Groceries</source>
        <translation>Lebensmittel</translation>
    </message>
    <message>
        <source>Dining out</source>
        <translation>Auswärts essen</translation>
    </message>
    <message>
        <source>PETS</source>
        <translation>HAUSTIERE</translation>
    </message>
    <message>
        <source>Food</source>
        <translation>Futter</translation>
    </message>
    <message>
        <source>Medical</source>
        <translation>Arztkosten</translation>
    </message>
    <message>
        <source>Grooming</source>
        <translation>Pflege</translation>
    </message>
    <message>
        <source>Toys</source>
        <translation>Spielzeug</translation>
    </message>
    <message>
        <source>PERSONAL CARE</source>
        <translation>PERSÖNLICHES</translation>
    </message>
    <message>
        <source>Hair/nails</source>
        <translation>Friseur/Nägel</translation>
    </message>
    <message>
        <source>Clothing</source>
        <translation>Kleidung</translation>
    </message>
    <message>
        <source>Dry cleaning</source>
        <translation>Reinigung</translation>
    </message>
    <message>
        <source>Health club</source>
        <translation>Fitnessstudio</translation>
    </message>
    <message>
        <source>Organization dues or fees</source>
        <translation>Mitglieds- oder Vereinsbeiträge</translation>
    </message>
    <message>
        <source>ENTERTAINMENT</source>
        <translation>FREIZEIT</translation>
    </message>
    <message>
        <source>Video/DVD</source>
        <translation>Video/DVD</translation>
    </message>
    <message>
        <source>CDs</source>
        <translation>CDs</translation>
    </message>
    <message>
        <source>Movies</source>
        <translation>Kino</translation>
    </message>
    <message>
        <source>Concerts</source>
        <translation>Konzerte</translation>
    </message>
    <message>
        <source>Sporting events</source>
        <translation>Sportveranstaltungen</translation>
    </message>
    <message>
        <source>Live theater</source>
        <translation>Theater</translation>
    </message>
    <message>
        <source>LOANS</source>
        <translation>KREDITE</translation>
    </message>
    <message>
        <source>Personal</source>
        <translation>Privatkredit</translation>
    </message>
    <message>
        <source>Student</source>
        <translation>Studienkredit</translation>
    </message>
    <message>
        <source>Credit card</source>
        <translation>Kreditkarte</translation>
    </message>
    <message>
        <source>TAXES</source>
        <translation>STEUERN</translation>
    </message>
    <message>
        <source>Federal</source>
        <translation>Bund</translation>
    </message>
    <message>
        <source>State</source>
        <translation>Land</translation>
    </message>
    <message>
        <source>Local</source>
        <translation>Gemeinde</translation>
    </message>
    <message>
        <source>SAVINGS OR INVESTMENTS</source>
        <translation>SPAREN UND ANLEGEN</translation>
    </message>
    <message>
        <source>Retirement account</source>
        <translation>Altersvorsorge</translation>
    </message>
    <message>
        <source>Investment account</source>
        <translation>Depot</translation>
    </message>
    <message>
        <source>GIFTS AND DONATIONS</source>
        <translation>GESCHENKE UND SPENDEN</translation>
    </message>
    <message>
        <source>Charity 1</source>
        <translation>Spende 1</translation>
    </message>
    <message>
        <source>Charity 2</source>
        <translation>Spende 2</translation>
    </message>
    <message>
        <source>Charity 3</source>
        <translation>Spende 3</translation>
    </message>
    <message>
        <source>LEGAL</source>
        <translation>RECHTLICHES</translation>
    </message>
    <message>
        <source>Attorney</source>
        <translation>Anwalt</translation>
    </message>
    <message>
        <source>Alimony</source>
        <translation>Unterhalt</translation>
    </message>
    <message>
        <source>Payments on lien or judgment</source>
        <translation>Pfändungen oder Urteile</translation>
    </message>
</context>
<context>
    <name>quill::sheet::Captions</name>
    <message>
        <source>Projected Cost</source>
        <translation>Plankosten</translation>
    </message>
    <message>
        <source>Actual Cost</source>
        <translation>Istkosten</translation>
    </message>
    <message>
        <source>Difference</source>
        <translation>Differenz</translation>
    </message>
    <message>
        <source>TOTAL PROJECTED COST</source>
        <translation>PLANKOSTEN GESAMT</translation>
    </message>
    <message>
        <source>TOTAL ACTUAL COST</source>
        <translation>ISTKOSTEN GESAMT</translation>
    </message>
    <message>
        <source>TOTAL DIFFERENCE</source>
        <translation>DIFFERENZ GESAMT</translation>
    </message>
    <message>
        <source>Subtotals</source>
        <translation>Zwischensummen</translation>
    </message>
    <message>
        <source>Personal Finance</source>
        <translation>Persönliche Finanzen</translation>
    </message>
    <message>
        <source>Projected balance</source>
        <translation>Geplanter Saldo</translation>
    </message>
    <message>
        <source>actual balance</source>
        <translation>tatsächlicher Saldo</translation>
    </message>
    <message>
        <source>difference</source>
        <translation>Differenz</translation>
    </message>
    <message>
        <source>total projected cost</source>
        <translation>Plankosten gesamt</translation>
    </message>
    <message>
        <source>total actual cost</source>
        <translation>Istkosten gesamt</translation>
    </message>
    <message>
        <source>PROJECTED INCOME</source>
        <translation>GEPLANTE EINNAHMEN</translation>
    </message>
    <message>
        <source>ACTUAL INCOME</source>
        <translation>TATSÄCHLICHE EINNAHMEN</translation>
    </message>
    <message>
        <source>Income</source>
        <translation>Einnahmen</translation>
    </message>
    <message>
        <source>Extra income</source>
        <translation>Zusatzeinnahmen</translation>
    </message>
    <message>
        <source>Total income</source>
        <translation>Einnahmen gesamt</translation>
    </message>
    <message>
        <source>PROJECTED BALANCE</source>
        <translation>GEPLANTER SALDO</translation>
    </message>
    <message>
        <source>(Projected income minus expenses)</source>
        <translation>(Geplante Einnahmen minus Ausgaben)</translation>
    </message>
    <message>
        <source>ACTUAL BALANCE</source>
        <translation>TATSÄCHLICHER SALDO</translation>
    </message>
    <message>
        <source>(Actual income minus expenses)</source>
        <translation>(Tatsächliche Einnahmen minus Ausgaben)</translation>
    </message>
    <message>
        <source>DIFFERENCE</source>
        <translation>DIFFERENZ</translation>
    </message>
    <message>
        <source>(Actual minus projected)</source>
        <translation>(Tatsächlich minus geplant)</translation>
    </message>
    <message>
        <source>Amount</source>
        <translation>Betrag</translation>
    </message>
    <message>
        <source>Type an amount in %1: a number from 0 to 1,000,000,000,000, such as 250 or 99.95.</source>
        <translation>Geben Sie einen Betrag in %1 ein: eine Zahl von 0 bis 1.000.000.000.000, etwa 250 oder 99,95.</translation>
    </message>
    <message>
        <source>This cell takes an amount in %1: a number from 0 to 1,000,000,000,000, such as 250 or 99.95. Text, minus signs and larger numbers are not allowed.</source>
        <translation>Diese Zelle nimmt einen Betrag in %1 auf: eine Zahl von 0 bis 1.000.000.000.000, etwa 250 oder 99,95. Text, Minuszeichen und größere Zahlen sind nicht erlaubt.</translation>
    </message>
    <message>
        <source>dollars</source>
        <translation>Dollar</translation>
    </message>
</context>
<context>
    <name>quill::sheet::Messages</name>
    <message>
        <source>The categories are too large for a workbook: with their names the file would be up to %1 MB, and a workbook can be at most %2 MB. Shorten the longest category names or remove some categories.</source>
        <translation>Die Kategorien sind zu groß für eine Arbeitsmappe: Mit ihren Namen würde die Datei bis zu %1 MB groß, eine Arbeitsmappe darf aber höchstens %2 MB groß sein. Kürzen Sie die längsten Kategorienamen oder entfernen Sie einige Kategorien.</translation>
    </message>
    <message>
        <source>Object variable not set</source>
        <translation>Objektvariable nicht festgelegt</translation>
    </message>
    <message>
        <source>File not found: %1</source>
        <translation>Datei nicht gefunden: %1</translation>
    </message>
    <message>
        <source>The category list has more than %1 groups (%2); the sheet holds at most %1.</source>
        <translation>Die Kategorienliste hat mehr als %1 Gruppen (%2); die Tabelle fasst höchstens %1.</translation>
    </message>
    <message>
        <source>The budget sheet would need %1 rows, more than the %2 rows a .xls sheet holds; the category list has too many rows.</source>
        <translation>Die Budgettabelle bräuchte %1 Zeilen, mehr als die %2 Zeilen, die eine .xls-Tabelle fasst; die Kategorienliste hat zu viele Zeilen.</translation>
    </message>
    <message>
        <source>%1 groups are more than the %2 groups the sheet holds</source>
        <translation>%1 Gruppen sind mehr als die %2 Gruppen, die die Tabelle fasst</translation>
    </message>
    <message>
        <source>the budget sheet would need %1 rows, more than the %2 rows a .xls sheet holds</source>
        <translation>die Budgettabelle bräuchte %1 Zeilen, mehr als die %2 Zeilen, die eine .xls-Tabelle fasst</translation>
    </message>
</context>
</TS>
