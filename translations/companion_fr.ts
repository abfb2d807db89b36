<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr">
<context>
    <name>Companion</name>
    <message>
        <source>Usage: quillmere-sheet [options] -o FILE
Generates the Personal Finance budget workbook without windows.</source>
        <translation>Utilisation : quillmere-sheet [options] -o FICHIER
Crée le classeur de budget « Finances personnelles » sans fenêtre.</translation>
    </message>
    <message>
        <source>FILE</source>
        <extracomment>The name of an option&apos;s value in the help: a file name. Capitals, no spaces.</extracomment>
        <translation>FICHIER</translation>
    </message>
    <message>
        <source>FORMAT</source>
        <extracomment>The name of an option&apos;s value in the help: a file format. Capitals, no spaces.</extracomment>
        <translation>FORMAT</translation>
    </message>
    <message>
        <source>N</source>
        <extracomment>The name of an option&apos;s value in the help: an amount of money. Capitals, no spaces.</extracomment>
        <translation>MONTANT</translation>
    </message>
    <message>
        <source>write the workbook to FILE (- for standard output): an .xlsx
workbook when FILE ends in .xlsx, the printed pages as PDF when
it ends in .pdf, else an .xls workbook (also with no ending)</source>
        <translation>écrire le classeur dans FICHIER (- pour la sortie standard) :
un classeur .xlsx si FICHIER se termine par .xlsx, les pages
imprimées en PDF s’il se termine par .pdf, sinon un classeur
.xls (aussi sans extension)</translation>
    </message>
    <message>
        <source>xls, xlsx or pdf: write FILE in that format, whatever its ending</source>
        <translation>xls, xlsx ou pdf : écrire FICHIER dans ce format, quelle que
soit son extension</translation>
    </message>
    <message>
        <source>write the sheet&apos;s picture to FILE (PNG for .png, else BMP;
- for standard output, as BMP)</source>
        <translation>écrire l’image de la feuille dans FICHIER (PNG pour .png, sinon
BMP ; - pour la sortie standard, en BMP)</translation>
    </message>
    <message>
        <source>use the default categories and incomes, not the settings store</source>
        <translation>utiliser les catégories et revenus par défaut, pas les
paramètres enregistrés</translation>
    </message>
    <message>
        <source>use G groups of I items each (for size tests and benchmarks;
at most 200 groups, and as many items as one sheet holds)</source>
        <translation>utiliser G groupes de I éléments chacun (pour les tests de
taille et les mesures de performance ; au plus 200 groupes, et
autant d’éléments qu’une feuille peut en contenir)</translation>
    </message>
    <message>
        <source>use the categories and planned amounts of the CSV file FILE
(- for standard input), not the settings store</source>
        <translation>utiliser les catégories et montants prévus du fichier CSV
FICHIER (- pour l’entrée standard), pas les paramètres
enregistrés</translation>
    </message>
    <message>
        <source>write the categories the run would use to FILE as CSV
(- for standard output) instead of a workbook</source>
        <translation>écrire dans FICHIER, au format CSV, les catégories que
l’exécution utiliserait (- pour la sortie standard), au lieu
d’un classeur</translation>
    </message>
    <message>
        <source>projected income</source>
        <translation>revenus prévus</translation>
    </message>
    <message>
        <source>projected extra income</source>
        <translation>revenus annexes prévus</translation>
    </message>
    <message>
        <source>actual extra income</source>
        <translation>revenus annexes réels</translation>
    </message>
    <message>
        <source>actual income</source>
        <translation>revenus réels</translation>
    </message>
    <message>
        <source>show this text</source>
        <translation>afficher ce texte</translation>
    </message>
    <message>
        <source>show the version</source>
        <translation>afficher la version</translation>
    </message>
    <message>
        <source>%1 needs a value</source>
        <translation>%1 attend une valeur</translation>
    </message>
    <message>
        <source>--format wants xls, xlsx or pdf</source>
        <translation>--format attend xls, xlsx ou pdf</translation>
    </message>
    <message>
        <source>--synthetic wants GROUPSxITEMS, such as 200x50</source>
        <translation>--synthetic attend GROUPESxÉLÉMENTS, par exemple 200x50</translation>
    </message>
    <message>
        <source>--synthetic %1: %2</source>
        <translation>--synthetic %1 : %2</translation>
    </message>
    <message>
        <source>unknown option %1</source>
        <translation>option inconnue %1</translation>
    </message>
    <message>
        <source>--categories, --defaults and --synthetic each choose the categories; give one</source>
        <translation>--categories, --defaults et --synthetic choisissent chacune les catégories ; n’en donnez qu’une</translation>
    </message>
    <message>
        <source>--export-categories writes no workbook; leave out -o and --picture</source>
        <translation>--export-categories n’écrit pas de classeur ; omettez -o et --picture</translation>
    </message>
    <message>
        <source>nothing to write: give -o FILE and/or --picture FILE, or --export-categories FILE</source>
        <translation>rien à écrire : donnez -o FICHIER et/ou --picture FICHIER, ou --export-categories FICHIER</translation>
    </message>
    <message>
        <source>Cannot write the workbook to standard output: %1</source>
        <translation>Impossible d’écrire le classeur sur la sortie standard : %1</translation>
    </message>
    <message>
        <source>Cannot write the picture to standard output: %1</source>
        <translation>Impossible d’écrire l’image sur la sortie standard : %1</translation>
    </message>
    <message>
        <source>Cannot write the categories to standard output: %1</source>
        <translation>Impossible d’écrire les catégories sur la sortie standard : %1</translation>
    </message>
    <message>
        <source>cannot read the categories from standard input: %1</source>
        <translation>impossible de lire les catégories sur l’entrée standard : %1</translation>
    </message>
    <message>
        <source>it is larger than %1 MB</source>
        <translation>l’entrée dépasse %1 Mo</translation>
    </message>
    <message>
        <source>cannot use the categories file on standard input: line %1: %2.</source>
        <translation>impossible d’utiliser le fichier de catégories de l’entrée standard : ligne %1 : %2.</translation>
    </message>
    <message>
        <source>cannot use the categories file %1: line %2: %3.</source>
        <translation>impossible d’utiliser le fichier de catégories %1 : ligne %2 : %3.</translation>
    </message>
    <message>
        <source>cannot read the saved categories in %1: %2. Use --defaults, or repair or remove that file.</source>
        <translation>impossible de lire les catégories enregistrées dans %1 : %2. Utilisez --defaults, ou réparez ou supprimez ce fichier.</translation>
    </message>
    <message>
        <source>cannot read the saved categories: %1</source>
        <translation>impossible de lire les catégories enregistrées : %1</translation>
    </message>
    <message>
        <source>the saved income for --income%1 (&quot;%2&quot;) is not an amount: %3 Give --income%1 AMOUNT, or correct it in the window.</source>
        <translation>le revenu enregistré pour --income%1 (« %2 ») n’est pas un montant : %3 Donnez --income%1 MONTANT, ou corrigez-le dans la fenêtre.</translation>
    </message>
    <message>
        <source>cannot generate the workbook (nothing was written): %1</source>
        <translation>impossible de générer le classeur (rien n’a été écrit) : %1</translation>
    </message>
    <message>
        <source>The sheet has no picture to write</source>
        <translation>La feuille n’a pas d’image à écrire</translation>
    </message>
    <message>
        <source>Try &apos;quillmere-sheet --help&apos;.</source>
        <translation>Essayez « quillmere-sheet --help ».</translation>
    </message>
    <message>
        <source>-o and --picture both name standard output</source>
        <translation>-o et --picture désignent tous deux la sortie standard</translation>
    </message>
    <message>
        <source>%1 - would write binary data to the terminal; redirect standard output to a file or a pipe (%1 - &gt; FILE)</source>
        <translation>%1 - écrirait des données binaires sur le terminal ; redirigez la sortie standard vers un fichier ou un tube (%1 - &gt; FICHIER)</translation>
    </message>
    <message>
        <source>-o and --picture name the same file (%1 and %2); give two different files</source>
        <translation>-o et --picture désignent le même fichier (%1 et %2) ; donnez deux fichiers différents</translation>
    </message>
    <message>
        <source>%1 %2 names %3, where the saved categories and incomes are kept; give another file</source>
        <translation>%1 %2 désigne %3, où sont conservés les catégories et revenus enregistrés ; donnez un autre fichier</translation>
    </message>
    <message>
        <source>To write the workbook to standard output, give -o -.</source>
        <translation>Pour écrire le classeur sur la sortie standard, donnez -o -.</translation>
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
        <translation>(au format des paramètres régionaux ou au format simple,
par exemple 1234.56)</translation>
    </message>
    <message>
        <source>show the amounts in the currency CODE (USD, EUR, GBP, CHF,
JPY, CAD, AUD, SEK, NOK, DKK, PLN, CZK or the locale&apos;s own);
else the settings store&apos;s, or USD without it</source>
        <translation>afficher les montants dans la devise CODE (USD, EUR, GBP, CHF,
JPY, CAD, AUD, SEK, NOK, DKK, PLN, CZK ou celle des paramètres
régionaux) ; sinon celle des paramètres enregistrés, ou USD
à défaut</translation>
    </message>
    <message>
        <source>a4 or letter: the paper the sheet is printed on (else the
settings store&apos;s, or A4 without it)</source>
        <translation>a4 ou letter : le papier sur lequel la feuille est imprimée
(sinon celui des paramètres enregistrés, ou A4 à défaut)</translation>
    </message>
    <message>
        <source>--currency &quot;%1&quot; is not a currency this program knows; give one of %2</source>
        <translation>--currency « %1 » n’est pas une devise connue de ce programme ; donnez l’une de celles-ci : %2</translation>
    </message>
    <message>
        <source>--paper wants a4 or letter</source>
        <translation>--paper attend a4 ou letter</translation>
    </message>
    <message>
        <source>--income%1 &quot;%2&quot; is not an amount: %3</source>
        <translation>--income%1 « %2 » n’est pas un montant : %3</translation>
    </message>
</context>
</TS>
