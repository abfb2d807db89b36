<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr">
<context>
    <name>quill::ErrorTrap</name>
    <message>
        <source>Please email screenshot of this message to %1</source>
        <translation>Veuillez envoyer une capture d’écran de ce message par e-mail à %1</translation>
    </message>
    <message>
        <source>Out of memory</source>
        <translation>Mémoire insuffisante</translation>
    </message>
    <message>
        <source>Overflow: %1</source>
        <translation>Dépassement de capacité : %1</translation>
    </message>
    <message>
        <source>Unexpected failure</source>
        <translation>Échec inattendu</translation>
    </message>
</context>
<context>
    <name>quill::MemoryCategoryTree</name>
    <message>
        <source>Invalid relationship for a new tree node</source>
        <translation>Relation non valide pour un nouveau nœud de l’arborescence</translation>
    </message>
    <message>
        <source>Element not found: no tree node has the key &quot;%1&quot;</source>
        <translation>Élément introuvable : aucun nœud de l’arborescence n’a la clé « %1 »</translation>
    </message>
    <message>
        <source>Key is not unique in collection: &quot;%1&quot;</source>
        <translation>La clé n’est pas unique dans la collection : « %1 »</translation>
    </message>
    <message>
        <source>Index out of bounds: the tree has no node</source>
        <translation>Index hors limites : l’arborescence n’a aucun nœud</translation>
    </message>
</context>
<context>
    <name>quill::SafeReplace</name>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>Impossible d’écrire %1 : %2</translation>
    </message>
    <message>
        <source>Cannot read %1: %2</source>
        <translation>Impossible de lire %1 : %2</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation>ce n’est pas un fichier ordinaire</translation>
    </message>
    <message>
        <source>it is larger than %1 MB</source>
        <translation>il dépasse %1 Mo</translation>
    </message>
    <message>
        <source>a folder</source>
        <translation>un dossier</translation>
    </message>
    <message>
        <source>a device</source>
        <translation>un périphérique</translation>
    </message>
    <message>
        <source>a named pipe</source>
        <translation>un tube nommé</translation>
    </message>
    <message>
        <source>a socket</source>
        <translation>un socket</translation>
    </message>
    <message>
        <source>not a regular file</source>
        <translation>pas un fichier ordinaire</translation>
    </message>
    <message>
        <source>%1 is %2, not a regular file; it was left as it is. Choose another name.</source>
        <translation>%1 est %2, pas un fichier ordinaire ; il a été laissé tel quel. Choisissez un autre nom.</translation>
    </message>
    <message>
        <source>%1 is read-only; it was left as it is. Choose another name, or make the file writable first.</source>
        <translation>%1 est en lecture seule ; il a été laissé tel quel. Choisissez un autre nom ou rendez d’abord le fichier accessible en écriture.</translation>
    </message>
    <message>
        <source>No file name was given</source>
        <translation>Aucun nom de fichier n’a été indiqué</translation>
    </message>
    <message>
        <source>Cannot write %1: it is already closed</source>
        <translation>Impossible d’écrire %1 : il est déjà fermé</translation>
    </message>
    <message>
        <source>Cannot write %1 twice</source>
        <translation>Impossible d’écrire %1 deux fois</translation>
    </message>
    <message>
        <source>Cannot remove %1: %2</source>
        <translation>Impossible de supprimer %1 : %2</translation>
    </message>
    <message>
        <source>, so it keeps its new contents</source>
        <translation>, il garde donc son nouveau contenu</translation>
    </message>
</context>
<context>
    <name>quill::SettingsStore</name>
    <message>
        <source>a folder</source>
        <translation>un dossier</translation>
    </message>
    <message>
        <source>a named pipe</source>
        <translation>un tube nommé</translation>
    </message>
    <message>
        <source>a device</source>
        <translation>un périphérique</translation>
    </message>
    <message>
        <source>a socket</source>
        <translation>un socket</translation>
    </message>
    <message>
        <source>a special file</source>
        <translation>un fichier spécial</translation>
    </message>
    <message>
        <source>%1 could not be saved to %2: %3.</source>
        <translation>%1 : impossible d’enregistrer dans %2 : %3.</translation>
    </message>
    <message>
        <source>another program is writing it (it holds the lock file %1)</source>
        <translation>un autre programme est en train de l’écrire (il détient le fichier de verrou %1)</translation>
    </message>
    <message>
        <source>the lock file %1 cannot be made there (no permission)</source>
        <translation>le fichier de verrou %1 ne peut pas y être créé (permission refusée)</translation>
    </message>
    <message>
        <source>the lock file %1 cannot be made there</source>
        <translation>le fichier de verrou %1 ne peut pas y être créé</translation>
    </message>
    <message>
        <source>parts of the file are not in the settings format</source>
        <translation>des parties du fichier ne sont pas au format des paramètres</translation>
    </message>
    <message>
        <source>the file cannot be read</source>
        <translation>le fichier ne peut pas être lu</translation>
    </message>
    <message>
        <source>the path is %1, not a regular file</source>
        <translation>le chemin est %1, pas un fichier ordinaire</translation>
    </message>
    <message>
        <source>The settings could not be saved to %1: %2.</source>
        <translation>Les paramètres n’ont pas pu être enregistrés dans %1 : %2.</translation>
    </message>
    <message>
        <source>The setting &quot;%1&quot;</source>
        <translation>Le paramètre « %1 »</translation>
    </message>
    <message>
        <source>The settings</source>
        <translation>Les paramètres</translation>
    </message>
    <message>
        <source>The unreadable settings file %1 could not be kept as %2 (%3); it is overwritten now.</source>
        <translation>Le fichier de paramètres illisible %1 n’a pas pu être conservé sous %2 (%3) ; il est maintenant écrasé.</translation>
    </message>
    <message>
        <source>its lock file %1 is %2, not a regular file; remove it so that the settings can be saved</source>
        <translation>son fichier de verrou %1 est %2, pas un fichier ordinaire ; supprimez-le pour que les paramètres puissent être enregistrés</translation>
    </message>
    <message>
        <source>the file is not writable</source>
        <translation>le fichier n’est pas accessible en écriture</translation>
    </message>
    <message>
        <source>; the file was left as it was</source>
        <translation> ; le fichier a été laissé tel quel</translation>
    </message>
    <message>
        <source>the file was changed meanwhile and cannot be read</source>
        <translation>le fichier a été modifié entre-temps et ne peut pas être lu</translation>
    </message>
    <message>
        <source>its new contents could not be written in full to a private copy in the temporary folder %1; the file was left as it was</source>
        <translation>son nouveau contenu n’a pas pu être écrit en entier dans une copie privée du dossier temporaire %1 ; le fichier a été laissé tel quel</translation>
    </message>
</context>
<context>
    <name>quill::SignalWatcher</name>
    <message>
        <source>Signals are already being watched</source>
        <translation>Les signaux sont déjà surveillés</translation>
    </message>
    <message>
        <source>Cannot watch for signals: %1</source>
        <translation>Impossible de surveiller les signaux : %1</translation>
    </message>
</context>
<context>
    <name>quill::TempFolder</name>
    <message>
        <source>in %1: %2</source>
        <translation>dans %1 : %2</translation>
    </message>
    <message>
        <source>Cannot create a temporary folder %1</source>
        <translation>Impossible de créer un dossier temporaire %1</translation>
    </message>
    <message>
        <source> (TMPDIR names %1, which is not a folder)</source>
        <translation> (TMPDIR désigne %1, qui n’est pas un dossier)</translation>
    </message>
    <message>
        <source>. Set TMPDIR to a folder you can write to.</source>
        <translation>. Donnez à TMPDIR un dossier où vous pouvez écrire.</translation>
    </message>
</context>
<context>
    <name>quill::bridge::Messages</name>
    <message>
        <source>Error 842001. A normal instance of Excel could not be created.</source>
        <translation>Erreur 842001. Impossible de créer une instance normale d’Excel.</translation>
    </message>
    <message>
        <source>1. Please make sure Excel is installed on this computer.</source>
        <translation>1. Vérifiez qu’Excel est installé sur cet ordinateur.</translation>
    </message>
    <message>
        <source>2. Please open Excel normally and make sure a blank spreadsheet opens immediately without any interrupting window (such as an Excel file recovery window).</source>
        <translation>2. Ouvrez Excel normalement et vérifiez qu’une feuille vierge s’ouvre immédiatement, sans fenêtre intermédiaire (comme une fenêtre de récupération de fichiers Excel).</translation>
    </message>
    <message>
        <source>3. Please make sure that when you double-click on a XLS or XLSX file that Excel opens normally without any interrupting messages.</source>
        <translation>3. Vérifiez qu’un double-clic sur un fichier XLS ou XLSX ouvre Excel normalement, sans message intermédiaire.</translation>
    </message>
    <message>
        <source>4. All versions of Excel are supported by this software except for the rare Excel Starter and Student editions.</source>
        <translation>4. Ce logiciel prend en charge toutes les versions d’Excel, sauf les rares éditions Excel Starter et Étudiant.</translation>
    </message>
    <message>
        <source>The spreadsheet application could not be created</source>
        <translation>Impossible de créer l’application tableur</translation>
    </message>
    <message>
        <source>Invalid picture</source>
        <translation>Image non valide</translation>
    </message>
    <message>
        <source>Cannot encode the picture for %1</source>
        <translation>Impossible d’encoder l’image pour %1</translation>
    </message>
    <message>
        <source>Object variable not set: the workbook has no active sheet</source>
        <translation>Variable objet non définie : le classeur n’a pas de feuille active</translation>
    </message>
    <message>
        <source>Object variable not set</source>
        <translation>Variable objet non définie</translation>
    </message>
    <message>
        <source>Cannot read %1: %2</source>
        <translation>Impossible de lire %1 : %2</translation>
    </message>
</context>
<context>
    <name>quill::model::Amounts</name>
    <message>
        <source>An amount cannot be negative: leave out the minus sign.</source>
        <translation>Un montant ne peut pas être négatif : retirez le signe moins.</translation>
    </message>
    <message>
        <source>Write the amount out in digits; a power of ten such as 1e5 is not an amount.</source>
        <translation>Écrivez le montant en chiffres ; une puissance de dix comme 1e5 n’est pas un montant.</translation>
    </message>
    <message>
        <source>Letters such as &quot;%1&quot; cannot be part of an amount. Type digits, such as %2.</source>
        <translation>Des lettres comme « %1 » ne peuvent pas faire partie d’un montant. Tapez des chiffres, par exemple %2.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; cannot be part of an amount. Type digits, such as %2.</source>
        <translation>« %1 » ne peut pas faire partie d’un montant. Tapez des chiffres, par exemple %2.</translation>
    </message>
    <message>
        <source>An amount needs digits, such as %1.</source>
        <translation>Un montant doit comporter des chiffres, par exemple %1.</translation>
    </message>
    <message>
        <source>An amount can have at most %1 digits before the decimal point.</source>
        <translation>Un montant peut avoir au plus %1 chiffres avant la virgule.</translation>
    </message>
    <message>
        <source>An amount can have only one decimal point.</source>
        <translation>Un montant ne peut avoir qu’une seule virgule décimale.</translation>
    </message>
    <message>
        <source>Digits are grouped by threes, as in %1, and the decimal point comes last.</source>
        <translation>Les chiffres sont groupés par trois, comme dans %1, et la virgule décimale vient en dernier.</translation>
    </message>
    <message>
        <source>Only digits can follow the decimal point.</source>
        <translation>Seuls des chiffres peuvent suivre la virgule décimale.</translation>
    </message>
    <message>
        <source>Amounts in %1 are whole numbers without decimals, such as %2.</source>
        <translation>Les montants en %1 sont des nombres entiers sans décimales, par exemple %2.</translation>
    </message>
</context>
<context>
    <name>quill::model::CategoryCsv</name>
    <message>
        <source>the file is not UTF-8 text; save it as UTF-8</source>
        <translation>le fichier n’est pas du texte UTF-8 ; enregistrez-le en UTF-8</translation>
    </message>
    <message>
        <source>a quoted field is not closed: a quote (&quot;) is missing</source>
        <translation>un champ entre guillemets n’est pas fermé : il manque un guillemet (&quot;)</translation>
    </message>
    <message>
        <source>text follows a closing quote; a quote inside a quoted field is written twice (&quot;&quot;)</source>
        <translation>du texte suit un guillemet fermant ; un guillemet à l’intérieur d’un champ entre guillemets s’écrit deux fois (&quot;&quot;)</translation>
    </message>
    <message>
        <source>a quote (&quot;) inside a field that does not start with one; quote the whole field</source>
        <translation>un guillemet (&quot;) dans un champ qui ne commence pas par un guillemet ; mettez tout le champ entre guillemets</translation>
    </message>
    <message>
        <source>Line %1: %2.</source>
        <translation>Ligne %1 : %2.</translation>
    </message>
    <message>
        <source>the file is empty; its first line must be %1</source>
        <translation>le fichier est vide ; sa première ligne doit être %1</translation>
    </message>
    <message>
        <source>the first line must be the header %1, not &quot;%2&quot;</source>
        <translation>la première ligne doit être l’en-tête %1, pas « %2 »</translation>
    </message>
    <message>
        <source>the record has %1 field(s); every record has %2: %3</source>
        <translation>l’enregistrement a %1 champ(s) ; chaque enregistrement en a %2 : %3</translation>
    </message>
    <message>
        <source>the group name is empty</source>
        <translation>le nom du groupe est vide</translation>
    </message>
    <message>
        <source>the category &quot;%1&quot; comes before any group name</source>
        <translation>la catégorie « %1 » vient avant tout nom de groupe</translation>
    </message>
    <message>
        <source>the group &quot;%1&quot; is declared twice; group names must differ</source>
        <translation>le groupe « %1 » est déclaré deux fois ; les noms de groupe doivent être différents</translation>
    </message>
    <message>
        <source>the file has more than %1 groups and categories, more than the list can hold</source>
        <translation>le fichier compte plus de %1 groupes et catégories, plus que la liste ne peut en contenir</translation>
    </message>
    <message>
        <source>the group &quot;%1&quot; has a planned amount; a group&apos;s amount is the sum of its categories, so leave its Planned field empty</source>
        <translation>le groupe « %1 » a un montant prévu ; le montant d’un groupe est la somme de ses catégories, laissez donc son champ Planned vide</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not an amount: %2</source>
        <translation>« %1 » n’est pas un montant : %2</translation>
    </message>
    <message>
        <source>the file has no groups or categories</source>
        <translation>le fichier ne contient ni groupe ni catégorie</translation>
    </message>
    <message>
        <source>A group has no name; name it before the categories are exported.</source>
        <translation>Un groupe n’a pas de nom ; nommez-le avant d’exporter les catégories.</translation>
    </message>
    <message>
        <source>Two groups are named &quot;%1&quot;; rename one of them before the categories are exported.</source>
        <translation>Deux groupes s’appellent « %1 » ; renommez l’un d’eux avant d’exporter les catégories.</translation>
    </message>
    <message>
        <source>A category of the group &quot;%1&quot; has no name; name it before the categories are exported.</source>
        <translation>Une catégorie du groupe « %1 » n’a pas de nom ; nommez-la avant d’exporter les catégories.</translation>
    </message>
</context>
<context>
    <name>quill::model::CategoryState</name>
    <message>
        <source>&quot;%1&quot; is &quot;%2&quot;, not %3</source>
        <translation>« %1 » vaut « %2 », et non %3</translation>
    </message>
    <message>
        <source>a whole number from 1 to %1</source>
        <translation>un nombre entier de 1 à %1</translation>
    </message>
    <message>
        <source>row %1 of %2 has no %3 (&quot;%4&quot; is empty or absent)</source>
        <translation>la ligne %1 sur %2 n’a pas de %3 (« %4 » est vide ou absent)</translation>
    </message>
    <message>
        <source>key</source>
        <translation>clé</translation>
    </message>
    <message>
        <source>parent key</source>
        <translation>clé parente</translation>
    </message>
    <message>
        <source>the planned amount &quot;%1&quot; is &quot;%2&quot;, not an amount</source>
        <translation>le montant prévu « %1 » vaut « %2 », ce qui n’est pas un montant</translation>
    </message>
    <message>
        <source>its rows do not form a tree (%1)</source>
        <translation>ses lignes ne forment pas une arborescence (%1)</translation>
    </message>
    <message>
        <source>The saved category list in %1 cannot be read: %2. The default categories are used instead; the saved file will be kept as %3 before it is next saved.</source>
        <translation>La liste de catégories enregistrée dans %1 ne peut pas être lue : %2. Les catégories par défaut sont utilisées à la place ; le fichier enregistré sera conservé sous %3 avant le prochain enregistrement.</translation>
    </message>
    <message>
        <source>The settings file %1 cannot be used: %2. It is left as it is: the default categories and incomes are used, and nothing of this run will be saved. Remove or rename it so that your changes can be saved.</source>
        <translation>Le fichier de paramètres %1 ne peut pas être utilisé : %2. Il est laissé tel quel : les catégories et revenus par défaut sont utilisés, et rien de cette session ne sera enregistré. Supprimez-le ou renommez-le pour que vos modifications puissent être enregistrées.</translation>
    </message>
</context>
<context>
    <name>quill::model::DefaultCategories</name>
    <message>
        <source>HOUSING</source>
        <translation>LOGEMENT</translation>
    </message>
    <message>
        <source>Mortgage or rent</source>
        <translation>Loyer ou crédit immobilier</translation>
    </message>
    <message>
        <source>Phone</source>
        <translation>Téléphone</translation>
    </message>
    <message>
        <source>Electricity</source>
        <translation>Électricité</translation>
    </message>
    <message>
        <source>Gas</source>
        <translation>Gaz</translation>
    </message>
    <message>
        <source>Water and sewer</source>
        <translation>Eau et assainissement</translation>
    </message>
    <message>
        <source>Cable</source>
        <translation>Câble</translation>
    </message>
    <message>
        <source>Waste removal</source>
        <translation>Ordures ménagères</translation>
    </message>
    <message>
        <source>Maintenance or repairs</source>
        <translation>Entretien ou réparations</translation>
    </message>
    <message>
        <source>Supplies</source>
        <translation>Fournitures</translation>
    </message>
    <message>
        <source>Other</source>
        <translation>Autre</translation>
    </message>
    <message>
        <source>TRANSPORTATION</source>
        <translation>TRANSPORTS</translation>
    </message>
    <message>
        <source>Vehicle payment</source>
        <translation>Mensualité du véhicule</translation>
    </message>
    <message>
        <source>Bus/taxi fare</source>
        <translation>Bus/taxi</translation>
    </message>
    <message>
        <source>Insurance</source>
        <translation>Assurance</translation>
    </message>
    <message>
        <source>Licensing</source>
        <translation>Immatriculation</translation>
    </message>
    <message>
        <source>Fuel</source>
        <translation>Carburant</translation>
    </message>
    <message>
        <source>Maintenance</source>
        <translation>Entretien</translation>
    </message>
    <message>
        <source>INSURANCE</source>
        <translation>ASSURANCES</translation>
    </message>
    <message>
        <source>Home</source>
        <translation>Habitation</translation>
    </message>
    <message>
        <source>Health</source>
        <translation>Santé</translation>
    </message>
    <message>
        <source>Life</source>
        <translation>Vie</translation>
    </message>
    <message>
        <source>FOOD</source>
        <translation>ALIMENTATION</translation>
    </message>
    <message>
        <source>Groceries</source>
        <translation>Courses</translation>
    </message>
    <message>
        <source>Dining out</source>
        <translation>Restaurants</translation>
    </message>
    <message>
        <source>PETS</source>
        <translation>ANIMAUX</translation>
    </message>
    <message>
        <source>Food</source>
        <translation>Nourriture</translation>
    </message>
    <message>
        <source>Medical</source>
        <translation>Frais médicaux</translation>
    </message>
    <message>
        <source>Grooming</source>
        <translation>Toilettage</translation>
    </message>
    <message>
        <source>Toys</source>
        <translation>Jouets</translation>
    </message>
    <message>
        <source>PERSONAL CARE</source>
        <translation>SOINS PERSONNELS</translation>
    </message>
    <message>
        <source>Hair/nails</source>
        <translation>Coiffure/ongles</translation>
    </message>
    <message>
        <source>Clothing</source>
        <translation>Vêtements</translation>
    </message>
    <message>
        <source>Dry cleaning</source>
        <translation>Pressing</translation>
    </message>
    <message>
        <source>Health club</source>
        <translation>Salle de sport</translation>
    </message>
    <message>
        <source>Organization dues or fees</source>
        <translation>Cotisations ou adhésions</translation>
    </message>
    <message>
        <source>ENTERTAINMENT</source>
        <translation>LOISIRS</translation>
    </message>
    <message>
        <source>Video/DVD</source>
        <translation>Vidéo/DVD</translation>
    </message>
    <message>
        <source>CDs</source>
        <translation>CD</translation>
    </message>
    <message>
        <source>Movies</source>
        <translation>Cinéma</translation>
    </message>
    <message>
        <source>Concerts</source>
        <translation>Concerts</translation>
    </message>
    <message>
        <source>Sporting events</source>
        <translation>Événements sportifs</translation>
    </message>
    <message>
        <source>Live theater</source>
        <translation>Théâtre</translation>
    </message>
    <message>
        <source>LOANS</source>
        <translation>PRÊTS</translation>
    </message>
    <message>
        <source>Personal</source>
        <translation>Prêt personnel</translation>
    </message>
    <message>
        <source>Student</source>
        <translation>Prêt étudiant</translation>
    </message>
    <message>
        <source>Credit card</source>
        <translation>Carte de crédit</translation>
    </message>
    <message>
        <source>TAXES</source>
        <translation>IMPÔTS</translation>
    </message>
    <message>
        <source>Federal</source>
        <translation>État</translation>
    </message>
    <message>
        <source>State</source>
        <translation>Région</translation>
    </message>
    <message>
        <source>Local</source>
        <translation>Local</translation>
    </message>
    <message>
        <source>SAVINGS OR INVESTMENTS</source>
        <translation>ÉPARGNE OU PLACEMENTS</translation>
    </message>
    <message>
        <source>Retirement account</source>
        <translation>Épargne retraite</translation>
    </message>
    <message>
        <source>Investment account</source>
        <translation>Compte-titres</translation>
    </message>
    <message>
        <source>GIFTS AND DONATIONS</source>
        <translation>CADEAUX ET DONS</translation>
    </message>
    <message>
        <source>Charity 1</source>
        <translation>Don 1</translation>
    </message>
    <message>
        <source>Charity 2</source>
        <translation>Don 2</translation>
    </message>
    <message>
        <source>Charity 3</source>
        <translation>Don 3</translation>
    </message>
    <message>
        <source>LEGAL</source>
        <translation>JURIDIQUE</translation>
    </message>
    <message>
        <source>Attorney</source>
        <translation>Avocat</translation>
    </message>
    <message>
        <source>Alimony</source>
        <translation>Pension alimentaire</translation>
    </message>
    <message>
        <source>Payments on lien or judgment</source>
        <translation>Saisies ou jugements</translation>
    </message>
</context>
<context>
    <name>quill::sheet::Captions</name>
    <message>
        <source>Projected Cost</source>
        <translation>Coût prévu</translation>
    </message>
    <message>
        <source>Actual Cost</source>
        <translation>Coût réel</translation>
    </message>
    <message>
        <source>Difference</source>
        <translation>Écart</translation>
    </message>
    <message>
        <source>TOTAL PROJECTED COST</source>
        <translation>TOTAL COÛT PRÉVU</translation>
    </message>
    <message>
        <source>TOTAL ACTUAL COST</source>
        <translation>TOTAL COÛT RÉEL</translation>
    </message>
    <message>
        <source>TOTAL DIFFERENCE</source>
        <translation>ÉCART TOTAL</translation>
    </message>
    <message>
        <source>Subtotals</source>
        <translation>Sous-totaux</translation>
    </message>
    <message>
        <source>Personal Finance</source>
        <translation>Finances personnelles</translation>
    </message>
    <message>
        <source>Projected balance</source>
        <translation>Solde prévu</translation>
    </message>
    <message>
        <source>actual balance</source>
        <translation>solde réel</translation>
    </message>
    <message>
        <source>difference</source>
        <translation>écart</translation>
    </message>
    <message>
        <source>total projected cost</source>
        <translation>total du coût prévu</translation>
    </message>
    <message>
        <source>total actual cost</source>
        <translation>total du coût réel</translation>
    </message>
    <message>
        <source>PROJECTED INCOME</source>
        <translation>REVENUS PRÉVUS</translation>
    </message>
    <message>
        <source>ACTUAL INCOME</source>
        <translation>REVENUS RÉELS</translation>
    </message>
    <message>
        <source>Income</source>
        <translation>Revenus</translation>
    </message>
    <message>
        <source>Extra income</source>
        <translation>Revenus annexes</translation>
    </message>
    <message>
        <source>Total income</source>
        <translation>Total des revenus</translation>
    </message>
    <message>
        <source>PROJECTED BALANCE</source>
        <translation>SOLDE PRÉVU</translation>
    </message>
    <message>
        <source>(Projected income minus expenses)</source>
        <translation>(Revenus prévus moins dépenses)</translation>
    </message>
    <message>
        <source>ACTUAL BALANCE</source>
        <translation>SOLDE RÉEL</translation>
    </message>
    <message>
        <source>(Actual income minus expenses)</source>
        <translation>(Revenus réels moins dépenses)</translation>
    </message>
    <message>
        <source>DIFFERENCE</source>
        <translation>ÉCART</translation>
    </message>
    <message>
        <source>(Actual minus projected)</source>
        <translation>(Réel moins prévu)</translation>
    </message>
    <message>
        <source>Amount</source>
        <translation>Montant</translation>
    </message>
    <message>
        <source>Type an amount in %1: a number from 0 to 1,000,000,000,000, such as 250 or 99.95.</source>
        <translation>Saisissez un montant en %1 : un nombre de 0 à 1 000 000 000 000, par exemple 250 ou 99,95.</translation>
    </message>
    <message>
        <source>This cell takes an amount in %1: a number from 0 to 1,000,000,000,000, such as 250 or 99.95. Text, minus signs and larger numbers are not allowed.</source>
        <translation>Cette cellule attend un montant en %1 : un nombre de 0 à 1 000 000 000 000, par exemple 250 ou 99,95. Le texte, les signes moins et les nombres plus grands ne sont pas acceptés.</translation>
    </message>
    <message>
        <source>dollars</source>
        <translation>dollars</translation>
    </message>
</context>
<context>
    <name>quill::sheet::Messages</name>
    <message>
        <source>The categories are too large for a workbook: with their names the file would be up to %1 MB, and a workbook can be at most %2 MB. Shorten the longest category names or remove some categories.</source>
        <translation>Les catégories sont trop volumineuses pour un classeur : avec leurs noms, le fichier pourrait atteindre %1 Mo, alors qu’un classeur ne peut pas dépasser %2 Mo. Raccourcissez les noms de catégorie les plus longs ou supprimez des catégories.</translation>
    </message>
    <message>
        <source>Object variable not set</source>
        <translation>Variable objet non définie</translation>
    </message>
    <message>
        <source>File not found: %1</source>
        <translation>Fichier introuvable : %1</translation>
    </message>
    <message>
        <source>The category list has more than %1 groups (%2); the sheet holds at most %1.</source>
        <translation>La liste de catégories compte plus de %1 groupes (%2) ; la feuille en contient au plus %1.</translation>
    </message>
    <message>
        <source>The budget sheet would need %1 rows, more than the %2 rows a .xls sheet holds; the category list has too many rows.</source>
        <translation>La feuille de budget aurait besoin de %1 lignes, plus que les %2 lignes d’une feuille .xls ; la liste de catégories a trop de lignes.</translation>
    </message>
    <message>
        <source>%1 groups are more than the %2 groups the sheet holds</source>
        <translation>%1 groupes, c’est plus que les %2 groupes que la feuille peut contenir</translation>
    </message>
    <message>
        <source>the budget sheet would need %1 rows, more than the %2 rows a .xls sheet holds</source>
        <translation>la feuille de budget aurait besoin de %1 lignes, plus que les %2 lignes d’une feuille .xls</translation>
    </message>
</context>
</TS>
