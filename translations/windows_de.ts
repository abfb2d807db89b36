<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>quill::MousePointer</name>
    <message>
        <source>Cannot load the pointer picture %1</source>
        <translation>Das Zeigerbild %1 kann nicht geladen werden</translation>
    </message>
</context>
<context>
    <name>quill::QtPrompt</name>
    <message>
        <source>Application Error</source>
        <translation>Programmfehler</translation>
    </message>
    <message>
        <source>&amp;Open File</source>
        <translation>Datei &amp;öffnen</translation>
    </message>
    <message>
        <source>Show &amp;Folder</source>
        <translation>&amp;Ordner anzeigen</translation>
    </message>
</context>
<context>
    <name>quill::app::CommandLine</name>
    <message>
        <source>Usage: quillmere [--help | --version]

Quillmere builds a household budget workbook. Keep a list of budget categories and four
income figures in its window, press Start Creating Template, and save the previewed
&quot;Personal Finance&quot; sheet as .xls, .xlsx or PDF, or print it.

Options:
  --help     show this help and exit
  --version  show the version and exit

The categories and incomes are kept in $XDG_CONFIG_HOME/Tarnwick.ini (by default
~/.config/Tarnwick.ini). The program needs a desktop session (X11 or Wayland); the
command-line companion quillmere-sheet makes the same workbook without one.
</source>
        <translation>Aufruf: quillmere [--help | --version]

Quillmere erstellt eine Arbeitsmappe für Ihr Haushaltsbudget. Pflegen Sie im Fenster eine
Liste von Budgetkategorien und vier Einkommenswerte, klicken Sie auf „Vorlage erstellen“
und speichern Sie das Blatt „Persönliche Finanzen“ aus der Vorschau als .xls, .xlsx oder
PDF, oder drucken Sie es.

Optionen:
  --help     diese Hilfe anzeigen und beenden
  --version  die Version anzeigen und beenden

Die Kategorien und Einkommen werden in $XDG_CONFIG_HOME/Tarnwick.ini gespeichert
(standardmäßig ~/.config/Tarnwick.ini). Das Programm braucht eine Desktop-Sitzung (X11
oder Wayland); das Befehlszeilenprogramm quillmere-sheet erstellt dieselbe Arbeitsmappe
auch ohne.
</translation>
    </message>
    <message>
        <source>quillmere: no display found: start it in a desktop session (DISPLAY or WAYLAND_DISPLAY set), or use quillmere-sheet without one
</source>
        <translation>quillmere: keine Anzeige gefunden: Starten Sie das Programm in einer Desktop-Sitzung (DISPLAY oder WAYLAND_DISPLAY gesetzt) oder verwenden Sie ohne Sitzung quillmere-sheet
</translation>
    </message>
</context>
<context>
    <name>quill::editor::CategoryEditorWindow</name>
    <message>
        <source>Income:</source>
        <translation>Einkommen:</translation>
    </message>
    <message>
        <source>Extra income:</source>
        <translation>Zusatzeinkommen:</translation>
    </message>
    <message>
        <source>Projected income</source>
        <translation>Geplantes Einkommen</translation>
    </message>
    <message>
        <source>Projected extra income</source>
        <translation>Geplantes Zusatzeinkommen</translation>
    </message>
    <message>
        <source>Actual extra income</source>
        <translation>Tatsächliches Zusatzeinkommen</translation>
    </message>
    <message>
        <source>Actual income</source>
        <translation>Tatsächliches Einkommen</translation>
    </message>
    <message>
        <source>&amp;Start Creating Template</source>
        <translation>&amp;Vorlage erstellen</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>Projected Income</source>
        <translation>Geplantes Einkommen</translation>
    </message>
    <message>
        <source>Actual Income</source>
        <translation>Tatsächliches Einkommen</translation>
    </message>
    <message>
        <source>Personal budget data:</source>
        <translation>Persönliche Budgetdaten:</translation>
    </message>
    <message>
        <source>&amp;Insert Below</source>
        <translation>Darunter &amp;einfügen</translation>
    </message>
    <message>
        <source>&amp;Delete Selected</source>
        <translation>Auswahl &amp;löschen</translation>
    </message>
    <message>
        <source>&amp;Rename Selected</source>
        <translation>Auswahl &amp;umbenennen</translation>
    </message>
    <message>
        <source>Res&amp;tore Default</source>
        <translation>&amp;Standard wiederherstellen</translation>
    </message>
    <message>
        <source>Left-click and hold left mouse buttom to edit</source>
        <translation>Zum Bearbeiten mit der linken Maustaste klicken und halten</translation>
    </message>
    <message>
        <source>Quillmere budget editor</source>
        <translation>Quillmere-Budgeteditor</translation>
    </message>
    <message>
        <source>Income figures and budget categories; Start Creating Template builds the budget sheet from them.</source>
        <translation>Einkommenswerte und Budgetkategorien; „Vorlage erstellen“ erstellt daraus das Budgetblatt.</translation>
    </message>
    <message>
        <source>Personal budget data</source>
        <translation>Persönliche Budgetdaten</translation>
    </message>
    <message>
        <source>Groups and their rows. Insert adds a row below the selected one, Delete removes it, F2 renames it in place.</source>
        <translation>Gruppen und ihre Zeilen. Einfg fügt unter der ausgewählten eine Zeile ein, Entf entfernt sie, F2 benennt sie direkt um.</translation>
    </message>
    <message>
        <source>Insert Below (Insert)</source>
        <translation>Darunter einfügen (Einfg)</translation>
    </message>
    <message>
        <source>Delete Selected (Delete, in the list)</source>
        <translation>Auswahl löschen (Entf, in der Liste)</translation>
    </message>
    <message>
        <source>Rename Selected (F2 renames in place, in the list)</source>
        <translation>Auswahl umbenennen (F2 benennt direkt um, in der Liste)</translation>
    </message>
    <message>
        <source>Rename</source>
        <translation>Umbenennen</translation>
    </message>
    <message>
        <source>%1: %2 The box keeps %3.</source>
        <translation>%1: %2 Das Feld behält %3.</translation>
    </message>
    <message>
        <source>Insert</source>
        <translation>Einfügen</translation>
    </message>
    <message>
        <source>Do you really want delete this row ?</source>
        <translation>Möchten Sie diese Zeile wirklich löschen?</translation>
    </message>
    <message>
        <source>Question</source>
        <translation>Frage</translation>
    </message>
    <message>
        <source>The list must keep at least one row, so this row stays.</source>
        <translation>Die Liste muss mindestens eine Zeile behalten, daher bleibt diese Zeile erhalten.</translation>
    </message>
    <message>
        <source>Row deleted.</source>
        <translation>Zeile gelöscht.</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Rename selected to: </source>
        <translation>Auswahl umbenennen in: </translation>
    </message>
    <message>
        <source>Rename Selected Row</source>
        <translation>Ausgewählte Zeile umbenennen</translation>
    </message>
    <message>
        <source>Do you really want rename this row ?</source>
        <translation>Möchten Sie diese Zeile wirklich umbenennen?</translation>
    </message>
    <message>
        <source>Do you really want restore default settings ?</source>
        <translation>Möchten Sie die Standardeinstellungen wirklich wiederherstellen?</translation>
    </message>
    <message>
        <source>Restore Default</source>
        <translation>Standard wiederherstellen</translation>
    </message>
    <message>
        <source>Questions? Please contact Team Tarnwick at %1</source>
        <translation>Fragen? Wenden Sie sich bitte an das Team Tarnwick unter %1</translation>
    </message>
    <message>
        <source>not planned</source>
        <translation>nicht geplant</translation>
    </message>
    <message>
        <source>%1: %2 The planned amount stays %3.</source>
        <translation>%1: %2 Der geplante Betrag bleibt %3.</translation>
    </message>
    <message>
        <source>Planned Amount</source>
        <translation>Geplanter Betrag</translation>
    </message>
    <message>
        <source>Import Categories</source>
        <translation>Kategorien importieren</translation>
    </message>
    <message>
        <source>CSV files (*.csv);;All files (*)</source>
        <translation>CSV-Dateien (*.csv);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>%1. Nothing was imported.</source>
        <translation>%1. Es wurde nichts importiert.</translation>
    </message>
    <message>
        <source>%1 was not imported. %2</source>
        <translation>%1 wurde nicht importiert. %2</translation>
    </message>
    <message>
        <source>Import</source>
        <translation>Import</translation>
    </message>
    <message>
        <source>Export Categories</source>
        <translation>Kategorien exportieren</translation>
    </message>
    <message>
        <source>CSV files (*.csv)</source>
        <translation>CSV-Dateien (*.csv)</translation>
    </message>
    <message>
        <source>%1 already exists. Replace it?</source>
        <translation>%1 ist bereits vorhanden. Möchten Sie die Datei ersetzen?</translation>
    </message>
    <message>
        <source>The list has no rows. Use Restore Default to bring back the default categories.</source>
        <translation>Die Liste hat keine Zeilen. Mit „Standard wiederherstellen“ erhalten Sie die Standardkategorien zurück.</translation>
    </message>
    <message>
        <source>No row is selected. Please select a row in the list first.</source>
        <translation>Keine Zeile ausgewählt. Bitte wählen Sie zuerst eine Zeile in der Liste aus.</translation>
    </message>
    <message>
        <source>%1: the saved &quot;%2&quot; is not an amount, so the box shows %3.</source>
        <translation>%1: Der gespeicherte Wert „%2“ ist kein Betrag, daher zeigt das Feld %3.</translation>
    </message>
    <message>
        <source>The place of the new row is unknown</source>
        <translation>Die Position der neuen Zeile ist unbekannt</translation>
    </message>
    <message>
        <source>The preview window has not been loaded</source>
        <translation>Das Vorschaufenster wurde nicht geladen</translation>
    </message>
    <message>
        <source>No row is selected</source>
        <translation>Keine Zeile ausgewählt</translation>
    </message>
    <message>
        <source>Subscript out of range: no row has the key &quot;%1&quot;</source>
        <translation>Index außerhalb des gültigen Bereichs: Keine Zeile hat den Schlüssel „%1“</translation>
    </message>
    <message>
        <source>Currency:</source>
        <translation>Währung:</translation>
    </message>
    <message>
        <source>Paper:</source>
        <translation>Papier:</translation>
    </message>
    <message>
        <source>A4</source>
        <translation>A4</translation>
    </message>
    <message>
        <source>Letter</source>
        <translation>Letter</translation>
    </message>
    <message>
        <source>Paper</source>
        <translation>Papier</translation>
    </message>
    <message>
        <source>The paper the sheet is printed on</source>
        <translation>Das Papier, auf das die Tabelle gedruckt wird</translation>
    </message>
    <message>
        <source>Currency</source>
        <translation>Währung</translation>
    </message>
    <message>
        <source>The currency the amounts are shown in, here and on the sheet</source>
        <translation>Die Währung, in der die Beträge hier und in der Tabelle angezeigt werden</translation>
    </message>
    <message>
        <source>Change Currency</source>
        <translation>Währung ändern</translation>
    </message>
    <message>
        <source>Change Paper</source>
        <translation>Papier ändern</translation>
    </message>
</context>
<context>
    <name>quill::editor::HelpWindow</name>
    <message>
        <source>&lt;h3&gt;Quillmere&lt;/h3&gt;&lt;p&gt;Quillmere builds a household budget workbook. Keep your budget categories in the list and the four income figures in their boxes, press &lt;b&gt;Start Creating Template&lt;/b&gt;, look at the sheet in the preview and save it as an .xls or .xlsx workbook or a PDF, or print it.&lt;/p&gt;&lt;h4&gt;Keys&lt;/h4&gt;&lt;table&gt;</source>
        <translation>&lt;h3&gt;Quillmere&lt;/h3&gt;&lt;p&gt;Quillmere erstellt eine Arbeitsmappe für Ihr Haushaltsbudget. Pflegen Sie Ihre Budgetkategorien in der Liste und die vier Einkommenswerte in ihren Feldern, klicken Sie auf &lt;b&gt;Vorlage erstellen&lt;/b&gt;, sehen Sie sich das Blatt in der Vorschau an und speichern Sie es als .xls- oder .xlsx-Arbeitsmappe oder als PDF, oder drucken Sie es.&lt;/p&gt;&lt;h4&gt;Tasten&lt;/h4&gt;&lt;table&gt;</translation>
    </message>
    <message>
        <source>F1, %1</source>
        <translation>F1, %1</translation>
    </message>
    <message>
        <source>Insert, %1</source>
        <translation>Einfg, %1</translation>
    </message>
    <message>
        <source>Delete (in the list), %1</source>
        <translation>Entf (in der Liste), %1</translation>
    </message>
    <message>
        <source>F2 (in the list)</source>
        <translation>F2 (in der Liste)</translation>
    </message>
    <message>
        <source>rename the selected row in place</source>
        <translation>ausgewählte Zeile direkt umbenennen</translation>
    </message>
    <message>
        <source>Ctrl+Q</source>
        <translation>Strg+Q</translation>
    </message>
    <message>
        <source>quit (the edits are kept)</source>
        <translation>beenden (die Änderungen bleiben erhalten)</translation>
    </message>
    <message>
        <source>Ctrl++, Ctrl+-</source>
        <translation>Strg++, Strg+-</translation>
    </message>
    <message>
        <source>zoom in the preview</source>
        <translation>Zoom in der Vorschau</translation>
    </message>
    <message>
        <source>Ctrl+S</source>
        <translation>Strg+S</translation>
    </message>
    <message>
        <source>save, in the preview</source>
        <translation>speichern, in der Vorschau</translation>
    </message>
    <message>
        <source>Ctrl+P</source>
        <translation>Strg+P</translation>
    </message>
    <message>
        <source>print, in the preview</source>
        <translation>drucken, in der Vorschau</translation>
    </message>
    <message>
        <source>Escape</source>
        <translation>Esc</translation>
    </message>
    <message>
        <source>back, in the preview</source>
        <translation>zurück, in der Vorschau</translation>
    </message>
    <message>
        <source>%1, in the preview</source>
        <translation>%1, in der Vorschau</translation>
    </message>
    <message>
        <source>&lt;/table&gt;&lt;h4&gt;Settings&lt;/h4&gt;&lt;p&gt;The categories and incomes are kept when the window closes, in %1. Delete that file (with the program closed) to start again from the default categories.&lt;/p&gt;&lt;h4&gt;Questions&lt;/h4&gt;&lt;p&gt;Questions? Please contact Team Tarnwick at %2 or write to %3.&lt;/p&gt;</source>
        <translation>&lt;/table&gt;&lt;h4&gt;Einstellungen&lt;/h4&gt;&lt;p&gt;Die Kategorien und Einkommen werden beim Schließen des Fensters in %1 gespeichert. Löschen Sie diese Datei (bei geschlossenem Programm), um wieder mit den Standardkategorien zu beginnen.&lt;/p&gt;&lt;h4&gt;Fragen&lt;/h4&gt;&lt;p&gt;Fragen? Wenden Sie sich bitte an das Team Tarnwick unter %2 oder schreiben Sie an %3.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>Quillmere Help</source>
        <translation>Quillmere-Hilfe</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>&amp;About Quillmere</source>
        <translation>&amp;Über Quillmere</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Schließen</translation>
    </message>
    <message>
        <source>&lt;p&gt;&lt;b&gt;Quillmere %1&lt;/b&gt;&lt;/p&gt;&lt;p&gt;Builds a household budget workbook (.xls, .xlsx, PDF).&lt;/p&gt;&lt;p&gt;Free software under the GNU General Public License, version 3 or later: %2&lt;/p&gt;&lt;p&gt;Web: %3&lt;br&gt;Mail: %4&lt;/p&gt;</source>
        <translation>&lt;p&gt;&lt;b&gt;Quillmere %1&lt;/b&gt;&lt;/p&gt;&lt;p&gt;Erstellt eine Arbeitsmappe für Ihr Haushaltsbudget (.xls, .xlsx, PDF).&lt;/p&gt;&lt;p&gt;Freie Software unter der GNU General Public License, Version 3 oder später: %2&lt;/p&gt;&lt;p&gt;Web: %3&lt;br&gt;E-Mail: %4&lt;/p&gt;</translation>
    </message>
    <message>
        <source>About Quillmere</source>
        <translation>Über Quillmere</translation>
    </message>
</context>
<context>
    <name>quill::editor::IncomeCommand</name>
    <message>
        <source>Change Income</source>
        <translation>Einkommen ändern</translation>
    </message>
</context>
<context>
    <name>quill::editor::PlanCommands</name>
    <message>
        <source>Undo</source>
        <translation>Rückgängig</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Wiederholen</translation>
    </message>
    <message>
        <source>Import...</source>
        <translation>Importieren...</translation>
    </message>
    <message>
        <source>Export...</source>
        <translation>Exportieren...</translation>
    </message>
    <message>
        <source>Import categories from a CSV file</source>
        <translation>Kategorien aus einer CSV-Datei importieren</translation>
    </message>
    <message>
        <source>Export categories to a CSV file</source>
        <translation>Kategorien in eine CSV-Datei exportieren</translation>
    </message>
    <message>
        <source>Undo %1</source>
        <translation>Rückgängig: %1</translation>
    </message>
    <message>
        <source>Redo %1</source>
        <translation>Wiederholen: %1</translation>
    </message>
    <message>
        <source>%1 (Ctrl+Z)</source>
        <translation>%1 (Strg+Z)</translation>
    </message>
    <message>
        <source>%1 (Ctrl+Shift+Z or Ctrl+Y)</source>
        <translation>%1 (Strg+Umschalt+Z oder Strg+Y)</translation>
    </message>
</context>
<context>
    <name>quill::editor::RowNameDialog</name>
    <message>
        <source>Enter new row name</source>
        <translation>Name der neuen Zeile eingeben</translation>
    </message>
    <message>
        <source>&amp;Name:</source>
        <translation>&amp;Name:</translation>
    </message>
    <message>
        <source>Name of the new row</source>
        <translation>Name der neuen Zeile</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Please, enter name of the row.</source>
        <translation>Bitte geben Sie einen Namen für die Zeile ein.</translation>
    </message>
</context>
<context>
    <name>quill::editor::TreeAdapter</name>
    <message>
        <source>Row %1 of %2 in group %3</source>
        <translation>Zeile %1 von %2 in der Gruppe %3</translation>
    </message>
    <message>
        <source>Group without rows</source>
        <translation>Gruppe ohne Zeilen</translation>
    </message>
    <message>
        <source>expanded</source>
        <translation>aufgeklappt</translation>
    </message>
    <message>
        <source>collapsed</source>
        <translation>zugeklappt</translation>
    </message>
    <message>
        <source>Group of %1 row, %2</source>
        <translation>Gruppe mit %1 Zeile, %2</translation>
    </message>
    <message>
        <source>Group of %1 rows, %2</source>
        <translation>Gruppe mit %1 Zeilen, %2</translation>
    </message>
    <message>
        <source>Planned amount for %1</source>
        <translation>Geplanter Betrag für %1</translation>
    </message>
    <message>
        <source>Rename %1</source>
        <translation>%1 umbenennen</translation>
    </message>
    <message>
        <source>Category</source>
        <translation>Kategorie</translation>
    </message>
    <message>
        <source>Planned</source>
        <translation>Geplant</translation>
    </message>
    <message>
        <source>Invalid relationship %1 for a new tree node</source>
        <translation>Ungültige Beziehung %1 für einen neuen Knoten der Liste</translation>
    </message>
    <message>
        <source>A child node needs a relative node</source>
        <translation>Ein untergeordneter Knoten braucht einen Bezugsknoten</translation>
    </message>
    <message>
        <source>Element not found: no tree node has the key &quot;%1&quot;</source>
        <translation>Element nicht gefunden: Kein Knoten der Liste hat den Schlüssel „%1“</translation>
    </message>
    <message>
        <source>Key is not unique in collection: &quot;%1&quot;</source>
        <translation>Schlüssel ist in der Auflistung nicht eindeutig: „%1“</translation>
    </message>
    <message>
        <source>Index out of bounds: the tree has no node</source>
        <translation>Index außerhalb des gültigen Bereichs: Die Liste hat keinen Knoten</translation>
    </message>
</context>
<context>
    <name>quill::preview::SheetPreviewWindow</name>
    <message>
        <source>Zoom &amp;In</source>
        <translation>&amp;Vergrößern</translation>
    </message>
    <message>
        <source>Zoom &amp;Out</source>
        <translation>Ver&amp;kleinern</translation>
    </message>
    <message>
        <source>&amp;Save Results To Excel File</source>
        <translation>Ergebnisse als Excel-Datei &amp;speichern</translation>
    </message>
    <message>
        <source>&lt; &amp;Back</source>
        <translation>&lt; &amp;Zurück</translation>
    </message>
    <message>
        <source>Excel Files (*.xls)</source>
        <translation>Excel-Dateien (*.xls)</translation>
    </message>
    <message>
        <source>Excel Workbook (*.xlsx)</source>
        <translation>Excel-Arbeitsmappe (*.xlsx)</translation>
    </message>
    <message>
        <source>PDF Files (*.pdf)</source>
        <translation>PDF-Dateien (*.pdf)</translation>
    </message>
    <message>
        <source>%1 Nothing was written.</source>
        <translation>%1 Es wurde nichts geschrieben.</translation>
    </message>
    <message>
        <source>%1%</source>
        <translation>%1 %</translation>
    </message>
    <message>
        <source>Zoom:</source>
        <translation>Zoom:</translation>
    </message>
    <message>
        <source>Quillmere sheet preview</source>
        <translation>Quillmere-Blattvorschau</translation>
    </message>
    <message>
        <source>The picture of the generated budget sheet, with zoom, saving and the way back.</source>
        <translation>Das Bild des erstellten Budgetblatts, mit Zoom, Speichern und dem Weg zurück.</translation>
    </message>
    <message>
        <source>Budget sheet picture</source>
        <translation>Bild des Budgetblatts</translation>
    </message>
    <message>
        <source>Drag, the wheel, arrows, Page Up/Down, Home and End move the picture; Ctrl+wheel zooms, Ctrl+0 fits the page width</source>
        <translation>Ziehen, Mausrad, Pfeiltasten, Bild auf/ab, Pos1 und Ende verschieben das Bild; Strg+Mausrad zoomt, Strg+0 passt die Seitenbreite ein</translation>
    </message>
    <message>
        <source>Horizontal position of the picture</source>
        <translation>Waagerechte Position des Bildes</translation>
    </message>
    <message>
        <source>Vertical position of the picture</source>
        <translation>Senkrechte Position des Bildes</translation>
    </message>
    <message>
        <source>Zoom In (Ctrl++)</source>
        <translation>Vergrößern (Strg++)</translation>
    </message>
    <message>
        <source>Zoom Out (Ctrl+-)</source>
        <translation>Verkleinern (Strg+-)</translation>
    </message>
    <message>
        <source>&lt; Back (Escape, Alt+Left or Ctrl+W)</source>
        <translation>&lt; Zurück (Esc, Alt+Links oder Strg+W)</translation>
    </message>
    <message>
        <source>Save Results To Excel File (Ctrl+S)</source>
        <translation>Ergebnisse als Excel-Datei speichern (Strg+S)</translation>
    </message>
    <message>
        <source>Zoom %1%.</source>
        <translation>Zoom %1 %.</translation>
    </message>
    <message>
        <source>Personal Finance</source>
        <translation>Persönliche Finanzen</translation>
    </message>
    <message>
        <source>Save File</source>
        <translation>Datei speichern</translation>
    </message>
    <message>
        <source>Are you sure you wish to overwrite %1 ?</source>
        <translation>Möchten Sie %1 wirklich überschreiben?</translation>
    </message>
    <message>
        <source>Saved as %1 in %2.</source>
        <translation>Als %1 in %2 gespeichert.</translation>
    </message>
    <message>
        <source>Done.</source>
        <translation>Fertig.</translation>
    </message>
    <message>
        <source>The printer cannot be started</source>
        <translation>Der Drucker kann nicht gestartet werden</translation>
    </message>
    <message>
        <source>Cannot write %1: no temporary file can be made in %2 (%3)</source>
        <translation>%1 kann nicht geschrieben werden: In %2 kann keine temporäre Datei angelegt werden (%3)</translation>
    </message>
    <message>
        <source>Cannot write %1: the printed pages could not be written in full to the temporary folder %2</source>
        <translation>%1 kann nicht geschrieben werden: Die gedruckten Seiten konnten nicht vollständig in den temporären Ordner %2 geschrieben werden</translation>
    </message>
    <message>
        <source>The preview picture is empty</source>
        <translation>Das Vorschaubild ist leer</translation>
    </message>
</context>
<context>
    <name>quill::shell::FormStyle</name>
    <message>
        <source>Cannot read the skin file %1: %2</source>
        <translation>Die Design-Datei %1 kann nicht gelesen werden: %2</translation>
    </message>
</context>
</TS>
