<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es">
<context>
    <name>QObject</name>
    <message>
        <source>&amp;Open File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show &amp;Folder</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>quill::editor::PlanCommands</name>
    <message>
        <source>Undo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Redo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Import...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Import categories from a CSV file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export categories to a CSV file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Undo %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Redo %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 (Ctrl+Z)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 (Ctrl+Shift+Z or Ctrl+Y)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
