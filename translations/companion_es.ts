<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es">
<context>
    <name>Companion</name>
    <message>
        <source>Usage: quillmere-sheet [options] -o FILE
Generates the Personal Finance budget workbook without windows.</source>
        <translation>Uso: quillmere-sheet [opciones] -o ARCHIVO
Genera el libro de presupuesto «Finanzas personales» sin ventanas.</translation>
    </message>
    <message>
        <source>FILE</source>
        <extracomment>The name of an option&apos;s value in the help: a file name. Capitals, no spaces.</extracomment>
        <translation>ARCHIVO</translation>
    </message>
    <message>
        <source>FORMAT</source>
        <extracomment>The name of an option&apos;s value in the help: a file format. Capitals, no spaces.</extracomment>
        <translation>FORMATO</translation>
    </message>
    <message>
        <source>N</source>
        <extracomment>The name of an option&apos;s value in the help: an amount of money. Capitals, no spaces.</extracomment>
        <translation>IMPORTE</translation>
    </message>
    <message>
        <source>write the workbook to FILE (- for standard output): an .xlsx
workbook when FILE ends in .xlsx, the printed pages as PDF when
it ends in .pdf, else an .xls workbook (also with no ending)</source>
        <translation>escribir el libro en ARCHIVO (- para la salida estándar): un
libro .xlsx si ARCHIVO termina en .xlsx, las páginas impresas
en PDF si termina en .pdf y, si no, un libro .xls (también
sin extensión)</translation>
    </message>
    <message>
        <source>xls, xlsx or pdf: write FILE in that format, whatever its ending</source>
        <translation>xls, xlsx o pdf: escribir ARCHIVO en ese formato, sea cual sea
su extensión</translation>
    </message>
    <message>
        <source>write the sheet&apos;s picture to FILE (PNG for .png, else BMP;
- for standard output, as BMP)</source>
        <translation>escribir la imagen de la hoja en ARCHIVO (PNG para .png y, si
no, BMP; - para la salida estándar, en BMP)</translation>
    </message>
    <message>
        <source>use the default categories and incomes, not the settings store</source>
        <translation>usar las categorías e ingresos predeterminados, no la
configuración guardada</translation>
    </message>
    <message>
        <source>use G groups of I items each (for size tests and benchmarks;
at most 200 groups, and as many items as one sheet holds)</source>
        <translation>usar G grupos de I elementos cada uno (para pruebas de tamaño
y de rendimiento; como máximo 200 grupos, y tantos elementos
como quepan en una hoja)</translation>
    </message>
    <message>
        <source>use the categories and planned amounts of the CSV file FILE
(- for standard input), not the settings store</source>
        <translation>usar las categorías e importes previstos del archivo CSV
ARCHIVO (- para la entrada estándar), no la configuración
guardada</translation>
    </message>
    <message>
        <source>write the categories the run would use to FILE as CSV
(- for standard output) instead of a workbook</source>
        <translation>escribir en ARCHIVO, como CSV, las categorías que usaría la
ejecución (- para la salida estándar), en lugar de un libro</translation>
    </message>
    <message>
        <source>projected income</source>
        <translation>ingresos previstos</translation>
    </message>
    <message>
        <source>projected extra income</source>
        <translation>ingresos extra previstos</translation>
    </message>
    <message>
        <source>actual extra income</source>
        <translation>ingresos extra reales</translation>
    </message>
    <message>
        <source>actual income</source>
        <translation>ingresos reales</translation>
    </message>
    <message>
        <source>show this text</source>
        <translation>mostrar este texto</translation>
    </message>
    <message>
        <source>show the version</source>
        <translation>mostrar la versión</translation>
    </message>
    <message>
        <source>%1 needs a value</source>
        <translation>%1 necesita un valor</translation>
    </message>
    <message>
        <source>--format wants xls, xlsx or pdf</source>
        <translation>--format espera xls, xlsx o pdf</translation>
    </message>
    <message>
        <source>--synthetic wants GROUPSxITEMS, such as 200x50</source>
        <translation>--synthetic espera GRUPOSxELEMENTOS, por ejemplo 200x50</translation>
    </message>
    <message>
        <source>--synthetic %1: %2</source>
        <translation>--synthetic %1: %2</translation>
    </message>
    <message>
        <source>unknown option %1</source>
        <translation>opción desconocida %1</translation>
    </message>
    <message>
        <source>--categories, --defaults and --synthetic each choose the categories; give one</source>
        <translation>--categories, --defaults y --synthetic eligen cada una las categorías; indique solo una</translation>
    </message>
    <message>
        <source>--export-categories writes no workbook; leave out -o and --picture</source>
        <translation>--export-categories no escribe ningún libro; omita -o y --picture</translation>
    </message>
    <message>
        <source>nothing to write: give -o FILE and/or --picture FILE, or --export-categories FILE</source>
        <translation>nada que escribir: indique -o ARCHIVO y/o --picture ARCHIVO, o --export-categories ARCHIVO</translation>
    </message>
    <message>
        <source>Cannot write the workbook to standard output: %1</source>
        <translation>No se puede escribir el libro en la salida estándar: %1</translation>
    </message>
    <message>
        <source>Cannot write the picture to standard output: %1</source>
        <translation>No se puede escribir la imagen en la salida estándar: %1</translation>
    </message>
    <message>
        <source>Cannot write the categories to standard output: %1</source>
        <translation>No se pueden escribir las categorías en la salida estándar: %1</translation>
    </message>
    <message>
        <source>cannot read the categories from standard input: %1</source>
        <translation>no se pueden leer las categorías de la entrada estándar: %1</translation>
    </message>
    <message>
        <source>it is larger than %1 MB</source>
        <translation>la entrada supera los %1 MB</translation>
    </message>
    <message>
        <source>cannot use the categories file on standard input: line %1: %2.</source>
        <translation>no se puede usar el archivo de categorías de la entrada estándar: línea %1: %2.</translation>
    </message>
    <message>
        <source>cannot use the categories file %1: line %2: %3.</source>
        <translation>no se puede usar el archivo de categorías %1: línea %2: %3.</translation>
    </message>
    <message>
        <source>cannot read the saved categories in %1: %2. Use --defaults, or repair or remove that file.</source>
        <translation>no se pueden leer las categorías guardadas en %1: %2. Use --defaults, o repare o elimine ese archivo.</translation>
    </message>
    <message>
        <source>cannot read the saved categories: %1</source>
        <translation>no se pueden leer las categorías guardadas: %1</translation>
    </message>
    <message>
        <source>the saved income for --income%1 (&quot;%2&quot;) is not an amount: %3 Give --income%1 AMOUNT, or correct it in the window.</source>
        <translation>el ingreso guardado para --income%1 («%2») no es un importe: %3 Indique --income%1 IMPORTE, o corríjalo en la ventana.</translation>
    </message>
    <message>
        <source>cannot generate the workbook (nothing was written): %1</source>
        <translation>no se puede generar el libro (no se ha escrito nada): %1</translation>
    </message>
    <message>
        <source>The sheet has no picture to write</source>
        <translation>La hoja no tiene ninguna imagen que escribir</translation>
    </message>
    <message>
        <source>Try &apos;quillmere-sheet --help&apos;.</source>
        <translation>Pruebe «quillmere-sheet --help».</translation>
    </message>
    <message>
        <source>-o and --picture both name standard output</source>
        <translation>-o y --picture indican los dos la salida estándar</translation>
    </message>
    <message>
        <source>%1 - would write binary data to the terminal; redirect standard output to a file or a pipe (%1 - &gt; FILE)</source>
        <translation>%1 - escribiría datos binarios en el terminal; redirija la salida estándar a un archivo o a una tubería (%1 - &gt; ARCHIVO)</translation>
    </message>
    <message>
        <source>-o and --picture name the same file (%1 and %2); give two different files</source>
        <translation>-o y --picture indican el mismo archivo (%1 y %2); indique dos archivos distintos</translation>
    </message>
    <message>
        <source>%1 %2 names %3, where the saved categories and incomes are kept; give another file</source>
        <translation>%1 %2 indica %3, donde se guardan las categorías y los ingresos; indique otro archivo</translation>
    </message>
    <message>
        <source>To write the workbook to standard output, give -o -.</source>
        <translation>Para escribir el libro en la salida estándar, indique -o -.</translation>
    </message>
    <message>
        <source>CODE</source>
        <extracomment>The name of an option&apos;s value in the help: a currency code such as EUR. Capitals, no spaces.</extracomment>
        <translation>CÓDIGO</translation>
    </message>
    <message>
        <source>PAPER</source>
        <extracomment>The name of an option&apos;s value in the help: a paper size. Capitals, no spaces.</extracomment>
        <translation>PAPEL</translation>
    </message>
    <message>
        <source>(in the locale&apos;s form or the plain one, such as 1234.56)</source>
        <translation>(en el formato de la configuración regional o en el simple,
por ejemplo 1234.56)</translation>
    </message>
    <message>
        <source>show the amounts in the currency CODE (USD, EUR, GBP, CHF,
JPY, CAD, AUD, SEK, NOK, DKK, PLN, CZK or the locale&apos;s own);
else the settings store&apos;s, or USD without it</source>
        <translation>mostrar los importes en la moneda CÓDIGO (USD, EUR, GBP, CHF,
JPY, CAD, AUD, SEK, NOK, DKK, PLN, CZK o la de la configuración
regional); si no, la de la configuración guardada o, sin ella,
USD</translation>
    </message>
    <message>
        <source>a4 or letter: the paper the sheet is printed on (else the
settings store&apos;s, or A4 without it)</source>
        <translation>a4 o letter: el papel en el que se imprime la hoja (si no, el
de la configuración guardada o, sin ella, A4)</translation>
    </message>
    <message>
        <source>--currency &quot;%1&quot; is not a currency this program knows; give one of %2</source>
        <translation>--currency «%1» no es una moneda que este programa conozca; indique una de estas: %2</translation>
    </message>
    <message>
        <source>--paper wants a4 or letter</source>
        <translation>--paper espera a4 o letter</translation>
    </message>
    <message>
        <source>--income%1 &quot;%2&quot; is not an amount: %3</source>
        <translation>--income%1 «%2» no es un importe: %3</translation>
    </message>
</context>
</TS>
