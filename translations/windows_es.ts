<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es">
<context>
    <name>quill::MousePointer</name>
    <message>
        <source>Cannot load the pointer picture %1</source>
        <translation>No se puede cargar la imagen del puntero %1</translation>
    </message>
</context>
<context>
    <name>quill::QtPrompt</name>
    <message>
        <source>Application Error</source>
        <translation>Error de la aplicación</translation>
    </message>
    <message>
        <source>&amp;Open File</source>
        <translation>&amp;Abrir archivo</translation>
    </message>
    <message>
        <source>Show &amp;Folder</source>
        <translation>Mostrar &amp;carpeta</translation>
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
        <translation>Uso: quillmere [--help | --version]

Quillmere crea un libro de presupuesto doméstico. Mantenga en su ventana una lista de
categorías de presupuesto y cuatro cifras de ingresos, pulse «Crear plantilla» y guarde la
hoja «Finanzas personales» de la vista previa como .xls, .xlsx o PDF, o imprímala.

Opciones:
  --help     mostrar esta ayuda y salir
  --version  mostrar la versión y salir

Las categorías y los ingresos se guardan en $XDG_CONFIG_HOME/Tarnwick.ini (de forma
predeterminada ~/.config/Tarnwick.ini). El programa necesita una sesión de escritorio
(X11 o Wayland); el programa de línea de órdenes quillmere-sheet crea el mismo libro sin ella.
</translation>
    </message>
    <message>
        <source>quillmere: no display found: start it in a desktop session (DISPLAY or WAYLAND_DISPLAY set), or use quillmere-sheet without one
</source>
        <translation>quillmere: no se encontró ninguna pantalla: inícielo en una sesión de escritorio (con DISPLAY o WAYLAND_DISPLAY definida) o use quillmere-sheet sin ella
</translation>
    </message>
</context>
<context>
    <name>quill::editor::CategoryEditorWindow</name>
    <message>
        <source>Income:</source>
        <translation>Ingresos:</translation>
    </message>
    <message>
        <source>Extra income:</source>
        <translation>Ingresos extra:</translation>
    </message>
    <message>
        <source>Projected income</source>
        <translation>Ingresos previstos</translation>
    </message>
    <message>
        <source>Projected extra income</source>
        <translation>Ingresos extra previstos</translation>
    </message>
    <message>
        <source>Actual extra income</source>
        <translation>Ingresos extra reales</translation>
    </message>
    <message>
        <source>Actual income</source>
        <translation>Ingresos reales</translation>
    </message>
    <message>
        <source>&amp;Start Creating Template</source>
        <translation>&amp;Crear plantilla</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>A&amp;yuda</translation>
    </message>
    <message>
        <source>Projected Income</source>
        <translation>Ingresos previstos</translation>
    </message>
    <message>
        <source>Actual Income</source>
        <translation>Ingresos reales</translation>
    </message>
    <message>
        <source>Personal budget data:</source>
        <translation>Datos del presupuesto personal:</translation>
    </message>
    <message>
        <source>&amp;Insert Below</source>
        <translation>&amp;Insertar debajo</translation>
    </message>
    <message>
        <source>&amp;Delete Selected</source>
        <translation>&amp;Eliminar selección</translation>
    </message>
    <message>
        <source>&amp;Rename Selected</source>
        <translation>&amp;Renombrar selección</translation>
    </message>
    <message>
        <source>Res&amp;tore Default</source>
        <translation>Restaurar &amp;predeterminados</translation>
    </message>
    <message>
        <source>Left-click and hold left mouse buttom to edit</source>
        <translation>Haga clic y mantenga pulsado el botón izquierdo del ratón para editar</translation>
    </message>
    <message>
        <source>Quillmere budget editor</source>
        <translation>Editor de presupuesto de Quillmere</translation>
    </message>
    <message>
        <source>Income figures and budget categories; Start Creating Template builds the budget sheet from them.</source>
        <translation>Cifras de ingresos y categorías de presupuesto; «Crear plantilla» crea con ellas la hoja de presupuesto.</translation>
    </message>
    <message>
        <source>Personal budget data</source>
        <translation>Datos del presupuesto personal</translation>
    </message>
    <message>
        <source>Groups and their rows. Insert adds a row below the selected one, Delete removes it, F2 renames it in place.</source>
        <translation>Grupos y sus filas. Insert añade una fila debajo de la seleccionada, Supr la elimina, F2 le cambia el nombre ahí mismo.</translation>
    </message>
    <message>
        <source>Insert Below (Insert)</source>
        <translation>Insertar debajo (Insert)</translation>
    </message>
    <message>
        <source>Delete Selected (Delete, in the list)</source>
        <translation>Eliminar selección (Supr, en la lista)</translation>
    </message>
    <message>
        <source>Rename Selected (F2 renames in place, in the list)</source>
        <translation>Renombrar selección (F2 cambia el nombre ahí mismo, en la lista)</translation>
    </message>
    <message>
        <source>Rename</source>
        <translation>Cambio de nombre</translation>
    </message>
    <message>
        <source>%1: %2 The box keeps %3.</source>
        <translation>%1: %2 La casilla conserva %3.</translation>
    </message>
    <message>
        <source>Insert</source>
        <translation>Inserción</translation>
    </message>
    <message>
        <source>Do you really want delete this row ?</source>
        <translation>¿Seguro que desea eliminar esta fila?</translation>
    </message>
    <message>
        <source>Question</source>
        <translation>Pregunta</translation>
    </message>
    <message>
        <source>The list must keep at least one row, so this row stays.</source>
        <translation>La lista debe conservar al menos una fila, así que esta fila se mantiene.</translation>
    </message>
    <message>
        <source>Row deleted.</source>
        <translation>Fila eliminada.</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Eliminación</translation>
    </message>
    <message>
        <source>Rename selected to: </source>
        <translation>Cambiar el nombre de la selección a: </translation>
    </message>
    <message>
        <source>Rename Selected Row</source>
        <translation>Renombrar la fila seleccionada</translation>
    </message>
    <message>
        <source>Do you really want rename this row ?</source>
        <translation>¿Seguro que desea cambiar el nombre de esta fila?</translation>
    </message>
    <message>
        <source>Do you really want restore default settings ?</source>
        <translation>¿Seguro que desea restaurar la configuración predeterminada?</translation>
    </message>
    <message>
        <source>Restore Default</source>
        <translation>Restaurar predeterminados</translation>
    </message>
    <message>
        <source>Questions? Please contact Team Tarnwick at %1</source>
        <translation>¿Preguntas? Póngase en contacto con el equipo Tarnwick en %1</translation>
    </message>
    <message>
        <source>not planned</source>
        <translation>sin prever</translation>
    </message>
    <message>
        <source>%1: %2 The planned amount stays %3.</source>
        <translation>%1: %2 El importe previsto sigue siendo %3.</translation>
    </message>
    <message>
        <source>Planned Amount</source>
        <translation>Importe previsto</translation>
    </message>
    <message>
        <source>Import Categories</source>
        <translation>Importar categorías</translation>
    </message>
    <message>
        <source>CSV files (*.csv);;All files (*)</source>
        <translation>Archivos CSV (*.csv);;Todos los archivos (*)</translation>
    </message>
    <message>
        <source>%1. Nothing was imported.</source>
        <translation>%1. No se ha importado nada.</translation>
    </message>
    <message>
        <source>%1 was not imported. %2</source>
        <translation>%1 no se ha importado. %2</translation>
    </message>
    <message>
        <source>Import</source>
        <translation>Importación</translation>
    </message>
    <message>
        <source>Export Categories</source>
        <translation>Exportar categorías</translation>
    </message>
    <message>
        <source>CSV files (*.csv)</source>
        <translation>Archivos CSV (*.csv)</translation>
    </message>
    <message>
        <source>%1 already exists. Replace it?</source>
        <translation>%1 ya existe. ¿Desea reemplazarlo?</translation>
    </message>
    <message>
        <source>The list has no rows. Use Restore Default to bring back the default categories.</source>
        <translation>La lista no tiene filas. Use «Restaurar predeterminados» para recuperar las categorías predeterminadas.</translation>
    </message>
    <message>
        <source>No row is selected. Please select a row in the list first.</source>
        <translation>No hay ninguna fila seleccionada. Seleccione primero una fila de la lista.</translation>
    </message>
    <message>
        <source>%1: the saved &quot;%2&quot; is not an amount, so the box shows %3.</source>
        <translation>%1: el valor guardado «%2» no es un importe, así que la casilla muestra %3.</translation>
    </message>
    <message>
        <source>The place of the new row is unknown</source>
        <translation>Se desconoce la posición de la nueva fila</translation>
    </message>
    <message>
        <source>The preview window has not been loaded</source>
        <translation>La ventana de vista previa no se ha cargado</translation>
    </message>
    <message>
        <source>No row is selected</source>
        <translation>No hay ninguna fila seleccionada</translation>
    </message>
    <message>
        <source>Subscript out of range: no row has the key &quot;%1&quot;</source>
        <translation>Subíndice fuera del intervalo: ninguna fila tiene la clave «%1»</translation>
    </message>
    <message>
        <source>Currency:</source>
        <translation>Moneda:</translation>
    </message>
    <message>
        <source>Paper:</source>
        <translation>Papel:</translation>
    </message>
    <message>
        <source>A4</source>
        <translation>A4</translation>
    </message>
    <message>
        <source>Letter</source>
        <translation>Carta</translation>
    </message>
    <message>
        <source>Paper</source>
        <translation>Papel</translation>
    </message>
    <message>
        <source>The paper the sheet is printed on</source>
        <translation>El papel en el que se imprime la hoja</translation>
    </message>
    <message>
        <source>Currency</source>
        <translation>Moneda</translation>
    </message>
    <message>
        <source>The currency the amounts are shown in, here and on the sheet</source>
        <translation>La moneda en la que se muestran los importes, aquí y en la hoja</translation>
    </message>
    <message>
        <source>Change Currency</source>
        <translation>Cambio de moneda</translation>
    </message>
    <message>
        <source>Change Paper</source>
        <translation>Cambio de papel</translation>
    </message>
</context>
<context>
    <name>quill::editor::HelpWindow</name>
    <message>
        <source>&lt;h3&gt;Quillmere&lt;/h3&gt;&lt;p&gt;Quillmere builds a household budget workbook. Keep your budget categories in the list and the four income figures in their boxes, press &lt;b&gt;Start Creating Template&lt;/b&gt;, look at the sheet in the preview and save it as an .xls or .xlsx workbook or a PDF, or print it.&lt;/p&gt;&lt;h4&gt;Keys&lt;/h4&gt;&lt;table&gt;</source>
        <translation>&lt;h3&gt;Quillmere&lt;/h3&gt;&lt;p&gt;Quillmere crea un libro de presupuesto doméstico. Mantenga sus categorías de presupuesto en la lista y las cuatro cifras de ingresos en sus casillas, pulse &lt;b&gt;Crear plantilla&lt;/b&gt;, revise la hoja en la vista previa y guárdela como libro .xls o .xlsx o como PDF, o imprímala.&lt;/p&gt;&lt;h4&gt;Teclas&lt;/h4&gt;&lt;table&gt;</translation>
    </message>
    <message>
        <source>F1, %1</source>
        <translation>F1, %1</translation>
    </message>
    <message>
        <source>Insert, %1</source>
        <translation>Insert, %1</translation>
    </message>
    <message>
        <source>Delete (in the list), %1</source>
        <translation>Supr (en la lista), %1</translation>
    </message>
    <message>
        <source>F2 (in the list)</source>
        <translation>F2 (en la lista)</translation>
    </message>
    <message>
        <source>rename the selected row in place</source>
        <translation>cambiar ahí mismo el nombre de la fila seleccionada</translation>
    </message>
    <message>
        <source>Ctrl+Q</source>
        <translation>Ctrl+Q</translation>
    </message>
    <message>
        <source>quit (the edits are kept)</source>
        <translation>salir (los cambios se conservan)</translation>
    </message>
    <message>
        <source>Ctrl++, Ctrl+-</source>
        <translation>Ctrl++, Ctrl+-</translation>
    </message>
    <message>
        <source>zoom in the preview</source>
        <translation>zoom en la vista previa</translation>
    </message>
    <message>
        <source>Ctrl+S</source>
        <translation>Ctrl+S</translation>
    </message>
    <message>
        <source>save, in the preview</source>
        <translation>guardar, en la vista previa</translation>
    </message>
    <message>
        <source>Ctrl+P</source>
        <translation>Ctrl+P</translation>
    </message>
    <message>
        <source>print, in the preview</source>
        <translation>imprimir, en la vista previa</translation>
    </message>
    <message>
        <source>Escape</source>
        <translation>Esc</translation>
    </message>
    <message>
        <source>back, in the preview</source>
        <translation>volver, en la vista previa</translation>
    </message>
    <message>
        <source>%1, in the preview</source>
        <translation>%1, en la vista previa</translation>
    </message>
    <message>
        <source>&lt;/table&gt;&lt;h4&gt;Settings&lt;/h4&gt;&lt;p&gt;The categories and incomes are kept when the window closes, in %1. Delete that file (with the program closed) to start again from the default categories.&lt;/p&gt;&lt;h4&gt;Questions&lt;/h4&gt;&lt;p&gt;Questions? Please contact Team Tarnwick at %2 or write to %3.&lt;/p&gt;</source>
        <translation>&lt;/table&gt;&lt;h4&gt;Configuración&lt;/h4&gt;&lt;p&gt;Las categorías y los ingresos se guardan al cerrar la ventana, en %1. Elimine ese archivo (con el programa cerrado) para empezar de nuevo con las categorías predeterminadas.&lt;/p&gt;&lt;h4&gt;Preguntas&lt;/h4&gt;&lt;p&gt;¿Preguntas? Póngase en contacto con el equipo Tarnwick en %2 o escriba a %3.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>Quillmere Help</source>
        <translation>Ayuda de Quillmere</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Ayuda</translation>
    </message>
    <message>
        <source>&amp;About Quillmere</source>
        <translation>&amp;Acerca de Quillmere</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Cerrar</translation>
    </message>
    <message>
        <source>&lt;p&gt;&lt;b&gt;Quillmere %1&lt;/b&gt;&lt;/p&gt;&lt;p&gt;Builds a household budget workbook (.xls, .xlsx, PDF).&lt;/p&gt;&lt;p&gt;Free software under the GNU General Public License, version 3 or later: %2&lt;/p&gt;&lt;p&gt;Web: %3&lt;br&gt;Mail: %4&lt;/p&gt;</source>
        <translation>&lt;p&gt;&lt;b&gt;Quillmere %1&lt;/b&gt;&lt;/p&gt;&lt;p&gt;Crea un libro de presupuesto doméstico (.xls, .xlsx, PDF).&lt;/p&gt;&lt;p&gt;Software libre bajo la GNU General Public License, versión 3 o posterior: %2&lt;/p&gt;&lt;p&gt;Web: %3&lt;br&gt;Correo: %4&lt;/p&gt;</translation>
    </message>
    <message>
        <source>About Quillmere</source>
        <translation>Acerca de Quillmere</translation>
    </message>
</context>
<context>
    <name>quill::editor::IncomeCommand</name>
    <message>
        <source>Change Income</source>
        <translation>Cambio de ingresos</translation>
    </message>
</context>
<context>
    <name>quill::editor::PlanCommands</name>
    <message>
        <source>Undo</source>
        <translation>Deshacer</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Rehacer</translation>
    </message>
    <message>
        <source>Import...</source>
        <translation>Importar...</translation>
    </message>
    <message>
        <source>Export...</source>
        <translation>Exportar...</translation>
    </message>
    <message>
        <source>Import categories from a CSV file</source>
        <translation>Importar categorías de un archivo CSV</translation>
    </message>
    <message>
        <source>Export categories to a CSV file</source>
        <translation>Exportar categorías a un archivo CSV</translation>
    </message>
    <message>
        <source>Undo %1</source>
        <translation>Deshacer: %1</translation>
    </message>
    <message>
        <source>Redo %1</source>
        <translation>Rehacer: %1</translation>
    </message>
    <message>
        <source>%1 (Ctrl+Z)</source>
        <translation>%1 (Ctrl+Z)</translation>
    </message>
    <message>
        <source>%1 (Ctrl+Shift+Z or Ctrl+Y)</source>
        <translation>%1 (Ctrl+Mayús+Z o Ctrl+Y)</translation>
    </message>
</context>
<context>
    <name>quill::editor::RowNameDialog</name>
    <message>
        <source>Enter new row name</source>
        <translation>Nombre de la nueva fila</translation>
    </message>
    <message>
        <source>&amp;Name:</source>
        <translation>&amp;Nombre:</translation>
    </message>
    <message>
        <source>Name of the new row</source>
        <translation>Nombre de la nueva fila</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>Aceptar</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Please, enter name of the row.</source>
        <translation>Escriba el nombre de la fila.</translation>
    </message>
</context>
<context>
    <name>quill::editor::TreeAdapter</name>
    <message>
        <source>Row %1 of %2 in group %3</source>
        <translation>Fila %1 de %2 del grupo %3</translation>
    </message>
    <message>
        <source>Group without rows</source>
        <translation>Grupo sin filas</translation>
    </message>
    <message>
        <source>expanded</source>
        <translation>expandido</translation>
    </message>
    <message>
        <source>collapsed</source>
        <translation>contraído</translation>
    </message>
    <message>
        <source>Group of %1 row, %2</source>
        <translation>Grupo de %1 fila, %2</translation>
    </message>
    <message>
        <source>Group of %1 rows, %2</source>
        <translation>Grupo de %1 filas, %2</translation>
    </message>
    <message>
        <source>Planned amount for %1</source>
        <translation>Importe previsto para %1</translation>
    </message>
    <message>
        <source>Rename %1</source>
        <translation>Cambiar el nombre de %1</translation>
    </message>
    <message>
        <source>Category</source>
        <translation>Categoría</translation>
    </message>
    <message>
        <source>Planned</source>
        <translation>Previsto</translation>
    </message>
    <message>
        <source>Invalid relationship %1 for a new tree node</source>
        <translation>Relación %1 no válida para un nuevo nodo de la lista</translation>
    </message>
    <message>
        <source>A child node needs a relative node</source>
        <translation>Un nodo hijo necesita un nodo de referencia</translation>
    </message>
    <message>
        <source>Element not found: no tree node has the key &quot;%1&quot;</source>
        <translation>Elemento no encontrado: ningún nodo de la lista tiene la clave «%1»</translation>
    </message>
    <message>
        <source>Key is not unique in collection: &quot;%1&quot;</source>
        <translation>La clave no es única en la colección: «%1»</translation>
    </message>
    <message>
        <source>Index out of bounds: the tree has no node</source>
        <translation>Índice fuera de los límites: la lista no tiene ningún nodo</translation>
    </message>
</context>
<context>
    <name>quill::preview::SheetPreviewWindow</name>
    <message>
        <source>Zoom &amp;In</source>
        <translation>&amp;Ampliar</translation>
    </message>
    <message>
        <source>Zoom &amp;Out</source>
        <translation>&amp;Reducir</translation>
    </message>
    <message>
        <source>&amp;Save Results To Excel File</source>
        <translation>&amp;Guardar resultados en archivo de Excel</translation>
    </message>
    <message>
        <source>&lt; &amp;Back</source>
        <translation>&lt; &amp;Volver</translation>
    </message>
    <message>
        <source>Excel Files (*.xls)</source>
        <translation>Archivos de Excel (*.xls)</translation>
    </message>
    <message>
        <source>Excel Workbook (*.xlsx)</source>
        <translation>Libro de Excel (*.xlsx)</translation>
    </message>
    <message>
        <source>PDF Files (*.pdf)</source>
        <translation>Archivos PDF (*.pdf)</translation>
    </message>
    <message>
        <source>%1 Nothing was written.</source>
        <translation>%1 No se ha escrito nada.</translation>
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
        <translation>Vista previa de la hoja de Quillmere</translation>
    </message>
    <message>
        <source>The picture of the generated budget sheet, with zoom, saving and the way back.</source>
        <translation>La imagen de la hoja de presupuesto creada, con zoom, guardado y vuelta atrás.</translation>
    </message>
    <message>
        <source>Budget sheet picture</source>
        <translation>Imagen de la hoja de presupuesto</translation>
    </message>
    <message>
        <source>Drag, the wheel, arrows, Page Up/Down, Home and End move the picture; Ctrl+wheel zooms, Ctrl+0 fits the page width</source>
        <translation>Arrastrar, la rueda, las flechas, RePág/AvPág, Inicio y Fin mueven la imagen; Ctrl+rueda amplía o reduce, Ctrl+0 ajusta al ancho de la página</translation>
    </message>
    <message>
        <source>Horizontal position of the picture</source>
        <translation>Posición horizontal de la imagen</translation>
    </message>
    <message>
        <source>Vertical position of the picture</source>
        <translation>Posición vertical de la imagen</translation>
    </message>
    <message>
        <source>Zoom In (Ctrl++)</source>
        <translation>Ampliar (Ctrl++)</translation>
    </message>
    <message>
        <source>Zoom Out (Ctrl+-)</source>
        <translation>Reducir (Ctrl+-)</translation>
    </message>
    <message>
        <source>&lt; Back (Escape, Alt+Left or Ctrl+W)</source>
        <translation>&lt; Volver (Esc, Alt+Izquierda o Ctrl+W)</translation>
    </message>
    <message>
        <source>Save Results To Excel File (Ctrl+S)</source>
        <translation>Guardar resultados en archivo de Excel (Ctrl+S)</translation>
    </message>
    <message>
        <source>Zoom %1%.</source>
        <translation>Zoom %1 %.</translation>
    </message>
    <message>
        <source>Personal Finance</source>
        <translation>Finanzas personales</translation>
    </message>
    <message>
        <source>Save File</source>
        <translation>Guardar archivo</translation>
    </message>
    <message>
        <source>Are you sure you wish to overwrite %1 ?</source>
        <translation>¿Seguro que desea sobrescribir %1?</translation>
    </message>
    <message>
        <source>Saved as %1 in %2.</source>
        <translation>Guardado como %1 en %2.</translation>
    </message>
    <message>
        <source>Done.</source>
        <translation>Hecho.</translation>
    </message>
    <message>
        <source>The printer cannot be started</source>
        <translation>No se puede iniciar la impresora</translation>
    </message>
    <message>
        <source>Cannot write %1: no temporary file can be made in %2 (%3)</source>
        <translation>No se puede escribir %1: no se puede crear ningún archivo temporal en %2 (%3)</translation>
    </message>
    <message>
        <source>Cannot write %1: the printed pages could not be written in full to the temporary folder %2</source>
        <translation>No se puede escribir %1: las páginas impresas no se pudieron escribir completas en la carpeta temporal %2</translation>
    </message>
    <message>
        <source>The preview picture is empty</source>
        <translation>La imagen de vista previa está vacía</translation>
    </message>
</context>
<context>
    <name>quill::shell::FormStyle</name>
    <message>
        <source>Cannot read the skin file %1: %2</source>
        <translation>No se puede leer el archivo de apariencia %1: %2</translation>
    </message>
</context>
</TS>
