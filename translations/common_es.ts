<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es">
<context>
    <name>quill::ErrorTrap</name>
    <message>
        <source>Please email screenshot of this message to %1</source>
        <translation>Envíe una captura de pantalla de este mensaje por correo electrónico a %1</translation>
    </message>
    <message>
        <source>Out of memory</source>
        <translation>Memoria insuficiente</translation>
    </message>
    <message>
        <source>Overflow: %1</source>
        <translation>Desbordamiento: %1</translation>
    </message>
    <message>
        <source>Unexpected failure</source>
        <translation>Error inesperado</translation>
    </message>
</context>
<context>
    <name>quill::MemoryCategoryTree</name>
    <message>
        <source>Invalid relationship for a new tree node</source>
        <translation>Relación no válida para un nodo nuevo del árbol</translation>
    </message>
    <message>
        <source>Element not found: no tree node has the key &quot;%1&quot;</source>
        <translation>Elemento no encontrado: ningún nodo del árbol tiene la clave «%1»</translation>
    </message>
    <message>
        <source>Key is not unique in collection: &quot;%1&quot;</source>
        <translation>La clave no es única en la colección: «%1»</translation>
    </message>
    <message>
        <source>Index out of bounds: the tree has no node</source>
        <translation>Índice fuera de los límites: el árbol no tiene ningún nodo</translation>
    </message>
</context>
<context>
    <name>quill::SafeReplace</name>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>No se puede escribir %1: %2</translation>
    </message>
    <message>
        <source>Cannot read %1: %2</source>
        <translation>No se puede leer %1: %2</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation>no es un archivo normal</translation>
    </message>
    <message>
        <source>it is larger than %1 MB</source>
        <translation>ocupa más de %1 MB</translation>
    </message>
    <message>
        <source>a folder</source>
        <translation>una carpeta</translation>
    </message>
    <message>
        <source>a device</source>
        <translation>un dispositivo</translation>
    </message>
    <message>
        <source>a named pipe</source>
        <translation>una tubería con nombre</translation>
    </message>
    <message>
        <source>a socket</source>
        <translation>un socket</translation>
    </message>
    <message>
        <source>not a regular file</source>
        <translation>no un archivo normal</translation>
    </message>
    <message>
        <source>%1 is %2, not a regular file; it was left as it is. Choose another name.</source>
        <translation>%1 es %2, no un archivo normal; se ha dejado como estaba. Elija otro nombre.</translation>
    </message>
    <message>
        <source>%1 is read-only; it was left as it is. Choose another name, or make the file writable first.</source>
        <translation>%1 es de solo lectura; se ha dejado como estaba. Elija otro nombre o haga antes que el archivo admita escritura.</translation>
    </message>
    <message>
        <source>No file name was given</source>
        <translation>No se ha indicado ningún nombre de archivo</translation>
    </message>
    <message>
        <source>Cannot write %1: it is already closed</source>
        <translation>No se puede escribir %1: ya está cerrado</translation>
    </message>
    <message>
        <source>Cannot write %1 twice</source>
        <translation>No se puede escribir %1 dos veces</translation>
    </message>
    <message>
        <source>Cannot remove %1: %2</source>
        <translation>No se puede eliminar %1: %2</translation>
    </message>
    <message>
        <source>, so it keeps its new contents</source>
        <translation>, así que conserva su contenido nuevo</translation>
    </message>
</context>
<context>
    <name>quill::SettingsStore</name>
    <message>
        <source>a folder</source>
        <translation>una carpeta</translation>
    </message>
    <message>
        <source>a named pipe</source>
        <translation>una tubería con nombre</translation>
    </message>
    <message>
        <source>a device</source>
        <translation>un dispositivo</translation>
    </message>
    <message>
        <source>a socket</source>
        <translation>un socket</translation>
    </message>
    <message>
        <source>a special file</source>
        <translation>un archivo especial</translation>
    </message>
    <message>
        <source>%1 could not be saved to %2: %3.</source>
        <translation>%1: no se pudo guardar en %2: %3.</translation>
    </message>
    <message>
        <source>another program is writing it (it holds the lock file %1)</source>
        <translation>otro programa lo está escribiendo (tiene el archivo de bloqueo %1)</translation>
    </message>
    <message>
        <source>the lock file %1 cannot be made there (no permission)</source>
        <translation>no se puede crear allí el archivo de bloqueo %1 (sin permiso)</translation>
    </message>
    <message>
        <source>the lock file %1 cannot be made there</source>
        <translation>no se puede crear allí el archivo de bloqueo %1</translation>
    </message>
    <message>
        <source>parts of the file are not in the settings format</source>
        <translation>partes del archivo no tienen el formato de la configuración</translation>
    </message>
    <message>
        <source>the file cannot be read</source>
        <translation>no se puede leer el archivo</translation>
    </message>
    <message>
        <source>the path is %1, not a regular file</source>
        <translation>la ruta es %1, no un archivo normal</translation>
    </message>
    <message>
        <source>The settings could not be saved to %1: %2.</source>
        <translation>No se pudo guardar la configuración en %1: %2.</translation>
    </message>
    <message>
        <source>The setting &quot;%1&quot;</source>
        <translation>El ajuste «%1»</translation>
    </message>
    <message>
        <source>The settings</source>
        <translation>La configuración</translation>
    </message>
    <message>
        <source>The unreadable settings file %1 could not be kept as %2 (%3); it is overwritten now.</source>
        <translation>No se pudo conservar el archivo de configuración ilegible %1 como %2 (%3); ahora se sobrescribe.</translation>
    </message>
    <message>
        <source>its lock file %1 is %2, not a regular file; remove it so that the settings can be saved</source>
        <translation>su archivo de bloqueo %1 es %2, no un archivo normal; elimínelo para que se pueda guardar la configuración</translation>
    </message>
    <message>
        <source>the file is not writable</source>
        <translation>el archivo no admite escritura</translation>
    </message>
    <message>
        <source>; the file was left as it was</source>
        <translation>; el archivo se ha dejado como estaba</translation>
    </message>
    <message>
        <source>the file was changed meanwhile and cannot be read</source>
        <translation>el archivo se ha modificado entretanto y no se puede leer</translation>
    </message>
    <message>
        <source>its new contents could not be written in full to a private copy in the temporary folder %1; the file was left as it was</source>
        <translation>su contenido nuevo no se pudo escribir entero en una copia privada en la carpeta temporal %1; el archivo se ha dejado como estaba</translation>
    </message>
</context>
<context>
    <name>quill::SignalWatcher</name>
    <message>
        <source>Signals are already being watched</source>
        <translation>Las señales ya se están vigilando</translation>
    </message>
    <message>
        <source>Cannot watch for signals: %1</source>
        <translation>No se pueden vigilar las señales: %1</translation>
    </message>
</context>
<context>
    <name>quill::TempFolder</name>
    <message>
        <source>in %1: %2</source>
        <translation>en %1: %2</translation>
    </message>
    <message>
        <source>Cannot create a temporary folder %1</source>
        <translation>No se puede crear una carpeta temporal %1</translation>
    </message>
    <message>
        <source> (TMPDIR names %1, which is not a folder)</source>
        <translation> (TMPDIR indica %1, que no es una carpeta)</translation>
    </message>
    <message>
        <source>. Set TMPDIR to a folder you can write to.</source>
        <translation>. Asigne a TMPDIR una carpeta en la que pueda escribir.</translation>
    </message>
</context>
<context>
    <name>quill::bridge::Messages</name>
    <message>
        <source>Error 842001. A normal instance of Excel could not be created.</source>
        <translation>Error 842001. No se pudo crear una instancia normal de Excel.</translation>
    </message>
    <message>
        <source>1. Please make sure Excel is installed on this computer.</source>
        <translation>1. Asegúrese de que Excel está instalado en este equipo.</translation>
    </message>
    <message>
        <source>2. Please open Excel normally and make sure a blank spreadsheet opens immediately without any interrupting window (such as an Excel file recovery window).</source>
        <translation>2. Abra Excel como de costumbre y asegúrese de que se abre enseguida una hoja en blanco sin ninguna ventana intermedia (como una ventana de recuperación de archivos de Excel).</translation>
    </message>
    <message>
        <source>3. Please make sure that when you double-click on a XLS or XLSX file that Excel opens normally without any interrupting messages.</source>
        <translation>3. Asegúrese de que, al hacer doble clic en un archivo XLS o XLSX, Excel se abre con normalidad y sin mensajes intermedios.</translation>
    </message>
    <message>
        <source>4. All versions of Excel are supported by this software except for the rare Excel Starter and Student editions.</source>
        <translation>4. Este programa admite todas las versiones de Excel, salvo las poco comunes ediciones Excel Starter y Estudiantes.</translation>
    </message>
    <message>
        <source>The spreadsheet application could not be created</source>
        <translation>No se pudo crear la aplicación de hoja de cálculo</translation>
    </message>
    <message>
        <source>Invalid picture</source>
        <translation>Imagen no válida</translation>
    </message>
    <message>
        <source>Cannot encode the picture for %1</source>
        <translation>No se puede codificar la imagen para %1</translation>
    </message>
    <message>
        <source>Object variable not set: the workbook has no active sheet</source>
        <translation>Variable de objeto no establecida: el libro no tiene ninguna hoja activa</translation>
    </message>
    <message>
        <source>Object variable not set</source>
        <translation>Variable de objeto no establecida</translation>
    </message>
    <message>
        <source>Cannot read %1: %2</source>
        <translation>No se puede leer %1: %2</translation>
    </message>
</context>
<context>
    <name>quill::model::Amounts</name>
    <message>
        <source>An amount cannot be negative: leave out the minus sign.</source>
        <translation>Un importe no puede ser negativo: quite el signo menos.</translation>
    </message>
    <message>
        <source>Write the amount out in digits; a power of ten such as 1e5 is not an amount.</source>
        <translation>Escriba el importe en cifras; una potencia de diez como 1e5 no es un importe.</translation>
    </message>
    <message>
        <source>Letters such as &quot;%1&quot; cannot be part of an amount. Type digits, such as %2.</source>
        <translation>Las letras como «%1» no pueden formar parte de un importe. Escriba cifras, por ejemplo %2.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; cannot be part of an amount. Type digits, such as %2.</source>
        <translation>«%1» no puede formar parte de un importe. Escriba cifras, por ejemplo %2.</translation>
    </message>
    <message>
        <source>An amount needs digits, such as %1.</source>
        <translation>Un importe necesita cifras, por ejemplo %1.</translation>
    </message>
    <message>
        <source>An amount can have at most %1 digits before the decimal point.</source>
        <translation>Un importe puede tener como máximo %1 cifras antes del separador decimal.</translation>
    </message>
    <message>
        <source>An amount can have only one decimal point.</source>
        <translation>Un importe solo puede tener un separador decimal.</translation>
    </message>
    <message>
        <source>Digits are grouped by threes, as in %1, and the decimal point comes last.</source>
        <translation>Las cifras se agrupan de tres en tres, como en %1, y el separador decimal va al final.</translation>
    </message>
    <message>
        <source>Only digits can follow the decimal point.</source>
        <translation>Después del separador decimal solo puede haber cifras.</translation>
    </message>
    <message>
        <source>Amounts in %1 are whole numbers without decimals, such as %2.</source>
        <translation>Los importes en %1 son números enteros sin decimales, como %2.</translation>
    </message>
</context>
<context>
    <name>quill::model::CategoryCsv</name>
    <message>
        <source>the file is not UTF-8 text; save it as UTF-8</source>
        <translation>el archivo no es texto UTF-8; guárdelo como UTF-8</translation>
    </message>
    <message>
        <source>a quoted field is not closed: a quote (&quot;) is missing</source>
        <translation>un campo entre comillas no está cerrado: falta una comilla (&quot;)</translation>
    </message>
    <message>
        <source>text follows a closing quote; a quote inside a quoted field is written twice (&quot;&quot;)</source>
        <translation>hay texto después de una comilla de cierre; una comilla dentro de un campo entre comillas se escribe dos veces (&quot;&quot;)</translation>
    </message>
    <message>
        <source>a quote (&quot;) inside a field that does not start with one; quote the whole field</source>
        <translation>una comilla (&quot;) dentro de un campo que no empieza por una; ponga todo el campo entre comillas</translation>
    </message>
    <message>
        <source>Line %1: %2.</source>
        <translation>Línea %1: %2.</translation>
    </message>
    <message>
        <source>the file is empty; its first line must be %1</source>
        <translation>el archivo está vacío; su primera línea debe ser %1</translation>
    </message>
    <message>
        <source>the first line must be the header %1, not &quot;%2&quot;</source>
        <translation>la primera línea debe ser el encabezado %1, no «%2»</translation>
    </message>
    <message>
        <source>the record has %1 field(s); every record has %2: %3</source>
        <translation>el registro tiene %1 campo(s); cada registro tiene %2: %3</translation>
    </message>
    <message>
        <source>the group name is empty</source>
        <translation>el nombre del grupo está vacío</translation>
    </message>
    <message>
        <source>the category &quot;%1&quot; comes before any group name</source>
        <translation>la categoría «%1» aparece antes de cualquier nombre de grupo</translation>
    </message>
    <message>
        <source>the group &quot;%1&quot; is declared twice; group names must differ</source>
        <translation>el grupo «%1» aparece dos veces; los nombres de grupo deben ser distintos</translation>
    </message>
    <message>
        <source>the file has more than %1 groups and categories, more than the list can hold</source>
        <translation>el archivo tiene más de %1 grupos y categorías, más de los que caben en la lista</translation>
    </message>
    <message>
        <source>the group &quot;%1&quot; has a planned amount; a group&apos;s amount is the sum of its categories, so leave its Planned field empty</source>
        <translation>el grupo «%1» tiene un importe previsto; el importe de un grupo es la suma de sus categorías, así que deje vacío su campo Planned</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not an amount: %2</source>
        <translation>«%1» no es un importe: %2</translation>
    </message>
    <message>
        <source>the file has no groups or categories</source>
        <translation>el archivo no contiene grupos ni categorías</translation>
    </message>
    <message>
        <source>A group has no name; name it before the categories are exported.</source>
        <translation>Un grupo no tiene nombre; póngale uno antes de exportar las categorías.</translation>
    </message>
    <message>
        <source>Two groups are named &quot;%1&quot;; rename one of them before the categories are exported.</source>
        <translation>Dos grupos se llaman «%1»; cambie el nombre de uno de ellos antes de exportar las categorías.</translation>
    </message>
    <message>
        <source>A category of the group &quot;%1&quot; has no name; name it before the categories are exported.</source>
        <translation>Una categoría del grupo «%1» no tiene nombre; póngale uno antes de exportar las categorías.</translation>
    </message>
</context>
<context>
    <name>quill::model::CategoryState</name>
    <message>
        <source>&quot;%1&quot; is &quot;%2&quot;, not %3</source>
        <translation>«%1» es «%2», no %3</translation>
    </message>
    <message>
        <source>a whole number from 1 to %1</source>
        <translation>un número entero de 1 a %1</translation>
    </message>
    <message>
        <source>row %1 of %2 has no %3 (&quot;%4&quot; is empty or absent)</source>
        <translation>la fila %1 de %2 no tiene %3 («%4» está vacío o falta)</translation>
    </message>
    <message>
        <source>key</source>
        <translation>clave</translation>
    </message>
    <message>
        <source>parent key</source>
        <translation>clave superior</translation>
    </message>
    <message>
        <source>the planned amount &quot;%1&quot; is &quot;%2&quot;, not an amount</source>
        <translation>el importe previsto «%1» es «%2», que no es un importe</translation>
    </message>
    <message>
        <source>its rows do not form a tree (%1)</source>
        <translation>sus filas no forman un árbol (%1)</translation>
    </message>
    <message>
        <source>The saved category list in %1 cannot be read: %2. The default categories are used instead; the saved file will be kept as %3 before it is next saved.</source>
        <translation>No se puede leer la lista de categorías guardada en %1: %2. Se usan en su lugar las categorías predeterminadas; el archivo guardado se conservará como %3 antes de volver a guardar.</translation>
    </message>
    <message>
        <source>The settings file %1 cannot be used: %2. It is left as it is: the default categories and incomes are used, and nothing of this run will be saved. Remove or rename it so that your changes can be saved.</source>
        <translation>No se puede usar el archivo de configuración %1: %2. Se deja como está: se usan las categorías e ingresos predeterminados y no se guardará nada de esta sesión. Elimínelo o cámbiele el nombre para que se puedan guardar sus cambios.</translation>
    </message>
</context>
<context>
    <name>quill::model::DefaultCategories</name>
    <message>
        <source>HOUSING</source>
        <translation>VIVIENDA</translation>
    </message>
    <message>
        <source>Mortgage or rent</source>
        <translation>Hipoteca o alquiler</translation>
    </message>
    <message>
        <source>Phone</source>
        <translation>Teléfono</translation>
    </message>
    <message>
        <source>Electricity</source>
        <translation>Electricidad</translation>
    </message>
    <message>
        <source>Gas</source>
        <translation>Gas</translation>
    </message>
    <message>
        <source>Water and sewer</source>
        <translation>Agua y alcantarillado</translation>
    </message>
    <message>
        <source>Cable</source>
        <translation>Televisión por cable</translation>
    </message>
    <message>
        <source>Waste removal</source>
        <translation>Recogida de basuras</translation>
    </message>
    <message>
        <source>Maintenance or repairs</source>
        <translation>Mantenimiento o reparaciones</translation>
    </message>
    <message>
        <source>Supplies</source>
        <translation>Artículos del hogar</translation>
    </message>
    <message>
        <source>Other</source>
        <translation>Otros</translation>
    </message>
    <message>
        <source>TRANSPORTATION</source>
        <translation>TRANSPORTE</translation>
    </message>
    <message>
        <source>Vehicle payment</source>
        <translation>Cuota del vehículo</translation>
    </message>
    <message>
        <source>Bus/taxi fare</source>
        <translation>Autobús/taxi</translation>
    </message>
    <message>
        <source>Insurance</source>
        <translation>Seguro</translation>
    </message>
    <message>
        <source>Licensing</source>
        <translation>Matriculación</translation>
    </message>
    <message>
        <source>Fuel</source>
        <translation>Combustible</translation>
    </message>
    <message>
        <source>Maintenance</source>
        <translation>Mantenimiento</translation>
    </message>
    <message>
        <source>INSURANCE</source>
        <translation>SEGUROS</translation>
    </message>
    <message>
        <source>Home</source>
        <translation>Hogar</translation>
    </message>
    <message>
        <source>Health</source>
        <translation>Salud</translation>
    </message>
    <message>
        <source>Life</source>
        <translation>Vida</translation>
    </message>
    <message>
        <source>FOOD</source>
        <translation>ALIMENTACIÓN</translation>
    </message>
    <message>
        <source>Groceries</source>
        <translation>Supermercado</translation>
    </message>
    <message>
        <source>Dining out</source>
        <translation>Comer fuera</translation>
    </message>
    <message>
        <source>PETS</source>
        <translation>MASCOTAS</translation>
    </message>
    <message>
        <source>Food</source>
        <translation>Comida</translation>
    </message>
    <message>
        <source>Medical</source>
        <translation>Gastos médicos</translation>
    </message>
    <message>
        <source>Grooming</source>
        <translation>Peluquería</translation>
    </message>
    <message>
        <source>Toys</source>
        <translation>Juguetes</translation>
    </message>
    <message>
        <source>PERSONAL CARE</source>
        <translation>CUIDADO PERSONAL</translation>
    </message>
    <message>
        <source>Hair/nails</source>
        <translation>Peluquería/uñas</translation>
    </message>
    <message>
        <source>Clothing</source>
        <translation>Ropa</translation>
    </message>
    <message>
        <source>Dry cleaning</source>
        <translation>Tintorería</translation>
    </message>
    <message>
        <source>Health club</source>
        <translation>Gimnasio</translation>
    </message>
    <message>
        <source>Organization dues or fees</source>
        <translation>Cuotas de asociaciones</translation>
    </message>
    <message>
        <source>ENTERTAINMENT</source>
        <translation>OCIO</translation>
    </message>
    <message>
        <source>Video/DVD</source>
        <translation>Vídeo/DVD</translation>
    </message>
    <message>
        <source>CDs</source>
        <translation>CD</translation>
    </message>
    <message>
        <source>Movies</source>
        <translation>Cine</translation>
    </message>
    <message>
        <source>Concerts</source>
        <translation>Conciertos</translation>
    </message>
    <message>
        <source>Sporting events</source>
        <translation>Eventos deportivos</translation>
    </message>
    <message>
        <source>Live theater</source>
        <translation>Teatro</translation>
    </message>
    <message>
        <source>LOANS</source>
        <translation>PRÉSTAMOS</translation>
    </message>
    <message>
        <source>Personal</source>
        <translation>Préstamo personal</translation>
    </message>
    <message>
        <source>Student</source>
        <translation>Préstamo de estudios</translation>
    </message>
    <message>
        <source>Credit card</source>
        <translation>Tarjeta de crédito</translation>
    </message>
    <message>
        <source>TAXES</source>
        <translation>IMPUESTOS</translation>
    </message>
    <message>
        <source>Federal</source>
        <translation>Estatales</translation>
    </message>
    <message>
        <source>State</source>
        <translation>Autonómicos</translation>
    </message>
    <message>
        <source>Local</source>
        <translation>Locales</translation>
    </message>
    <message>
        <source>SAVINGS OR INVESTMENTS</source>
        <translation>AHORRO O INVERSIONES</translation>
    </message>
    <message>
        <source>Retirement account</source>
        <translation>Plan de pensiones</translation>
    </message>
    <message>
        <source>Investment account</source>
        <translation>Cuenta de inversión</translation>
    </message>
    <message>
        <source>GIFTS AND DONATIONS</source>
        <translation>REGALOS Y DONATIVOS</translation>
    </message>
    <message>
        <source>Charity 1</source>
        <translation>Donativo 1</translation>
    </message>
    <message>
        <source>Charity 2</source>
        <translation>Donativo 2</translation>
    </message>
    <message>
        <source>Charity 3</source>
        <translation>Donativo 3</translation>
    </message>
    <message>
        <source>LEGAL</source>
        <translation>ASUNTOS LEGALES</translation>
    </message>
    <message>
        <source>Attorney</source>
        <translation>Abogado</translation>
    </message>
    <message>
        <source>Alimony</source>
        <translation>Pensión alimenticia</translation>
    </message>
    <message>
        <source>Payments on lien or judgment</source>
        <translation>Embargos o sentencias</translation>
    </message>
</context>
<context>
    <name>quill::sheet::Captions</name>
    <message>
        <source>Projected Cost</source>
        <translation>Coste previsto</translation>
    </message>
    <message>
        <source>Actual Cost</source>
        <translation>Coste real</translation>
    </message>
    <message>
        <source>Difference</source>
        <translation>Diferencia</translation>
    </message>
    <message>
        <source>TOTAL PROJECTED COST</source>
        <translation>COSTE PREVISTO TOTAL</translation>
    </message>
    <message>
        <source>TOTAL ACTUAL COST</source>
        <translation>COSTE REAL TOTAL</translation>
    </message>
    <message>
        <source>TOTAL DIFFERENCE</source>
        <translation>DIFERENCIA TOTAL</translation>
    </message>
    <message>
        <source>Subtotals</source>
        <translation>Subtotales</translation>
    </message>
    <message>
        <source>Personal Finance</source>
        <translation>Finanzas personales</translation>
    </message>
    <message>
        <source>Projected balance</source>
        <translation>Saldo previsto</translation>
    </message>
    <message>
        <source>actual balance</source>
        <translation>saldo real</translation>
    </message>
    <message>
        <source>difference</source>
        <translation>diferencia</translation>
    </message>
    <message>
        <source>total projected cost</source>
        <translation>coste previsto total</translation>
    </message>
    <message>
        <source>total actual cost</source>
        <translation>coste real total</translation>
    </message>
    <message>
        <source>PROJECTED INCOME</source>
        <translation>INGRESOS PREVISTOS</translation>
    </message>
    <message>
        <source>ACTUAL INCOME</source>
        <translation>INGRESOS REALES</translation>
    </message>
    <message>
        <source>Income</source>
        <translation>Ingresos</translation>
    </message>
    <message>
        <source>Extra income</source>
        <translation>Ingresos extra</translation>
    </message>
    <message>
        <source>Total income</source>
        <translation>Total de ingresos</translation>
    </message>
    <message>
        <source>PROJECTED BALANCE</source>
        <translation>SALDO PREVISTO</translation>
    </message>
    <message>
        <source>(Projected income minus expenses)</source>
        <translation>(Ingresos previstos menos gastos)</translation>
    </message>
    <message>
        <source>ACTUAL BALANCE</source>
        <translation>SALDO REAL</translation>
    </message>
    <message>
        <source>(Actual income minus expenses)</source>
        <translation>(Ingresos reales menos gastos)</translation>
    </message>
    <message>
        <source>DIFFERENCE</source>
        <translation>DIFERENCIA</translation>
    </message>
    <message>
        <source>(Actual minus projected)</source>
        <translation>(Real menos previsto)</translation>
    </message>
    <message>
        <source>Amount</source>
        <translation>Importe</translation>
    </message>
    <message>
        <source>Type an amount in %1: a number from 0 to 1,000,000,000,000, such as 250 or 99.95.</source>
        <translation>Escriba un importe en %1: un número de 0 a 1.000.000.000.000, como 250 o 99,95.</translation>
    </message>
    <message>
        <source>This cell takes an amount in %1: a number from 0 to 1,000,000,000,000, such as 250 or 99.95. Text, minus signs and larger numbers are not allowed.</source>
        <translation>Esta celda admite un importe en %1: un número de 0 a 1.000.000.000.000, como 250 o 99,95. No se admiten texto, signos menos ni números mayores.</translation>
    </message>
    <message>
        <source>dollars</source>
        <translation>dólares</translation>
    </message>
</context>
<context>
    <name>quill::sheet::Messages</name>
    <message>
        <source>The categories are too large for a workbook: with their names the file would be up to %1 MB, and a workbook can be at most %2 MB. Shorten the longest category names or remove some categories.</source>
        <translation>Las categorías son demasiado grandes para un libro: con sus nombres, el archivo podría ocupar hasta %1 MB, y un libro puede ocupar como máximo %2 MB. Acorte los nombres de categoría más largos o elimine algunas categorías.</translation>
    </message>
    <message>
        <source>Object variable not set</source>
        <translation>Variable de objeto no establecida</translation>
    </message>
    <message>
        <source>File not found: %1</source>
        <translation>Archivo no encontrado: %1</translation>
    </message>
    <message>
        <source>The category list has more than %1 groups (%2); the sheet holds at most %1.</source>
        <translation>La lista de categorías tiene más de %1 grupos (%2); la hoja admite como máximo %1.</translation>
    </message>
    <message>
        <source>The budget sheet would need %1 rows, more than the %2 rows a .xls sheet holds; the category list has too many rows.</source>
        <translation>La hoja de presupuesto necesitaría %1 filas, más de las %2 filas que admite una hoja .xls; la lista de categorías tiene demasiadas filas.</translation>
    </message>
    <message>
        <source>%1 groups are more than the %2 groups the sheet holds</source>
        <translation>%1 grupos son más que los %2 grupos que admite la hoja</translation>
    </message>
    <message>
        <source>the budget sheet would need %1 rows, more than the %2 rows a .xls sheet holds</source>
        <translation>la hoja de presupuesto necesitaría %1 filas, más de las %2 filas que admite una hoja .xls</translation>
    </message>
</context>
</TS>
