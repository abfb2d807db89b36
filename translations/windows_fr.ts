<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr">
<context>
    <name>quill::MousePointer</name>
    <message>
        <source>Cannot load the pointer picture %1</source>
        <translation>Impossible de charger l’image du pointeur %1</translation>
    </message>
</context>
<context>
    <name>quill::QtPrompt</name>
    <message>
        <source>Application Error</source>
        <translation>Erreur de l’application</translation>
    </message>
    <message>
        <source>&amp;Open File</source>
        <translation>&amp;Ouvrir le fichier</translation>
    </message>
    <message>
        <source>Show &amp;Folder</source>
        <translation>Afficher le &amp;dossier</translation>
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
        <translation>Utilisation : quillmere [--help | --version]

Quillmere crée un classeur de budget familial. Tenez dans sa fenêtre une liste de catégories
de budget et quatre montants de revenus, cliquez sur « Créer le modèle », puis enregistrez
la feuille « Finances personnelles » affichée en aperçu au format .xls, .xlsx ou PDF, ou
imprimez-la.

Options :
  --help     afficher cette aide et quitter
  --version  afficher la version et quitter

Les catégories et les revenus sont conservés dans $XDG_CONFIG_HOME/Tarnwick.ini (par défaut
~/.config/Tarnwick.ini). Le programme a besoin d’une session de bureau (X11 ou Wayland) ;
le programme en ligne de commande quillmere-sheet crée le même classeur sans session.
</translation>
    </message>
    <message>
        <source>quillmere: no display found: start it in a desktop session (DISPLAY or WAYLAND_DISPLAY set), or use quillmere-sheet without one
</source>
        <translation>quillmere : aucun affichage trouvé : lancez-le dans une session de bureau (DISPLAY ou WAYLAND_DISPLAY défini), ou utilisez quillmere-sheet sans session
</translation>
    </message>
</context>
<context>
    <name>quill::editor::CategoryEditorWindow</name>
    <message>
        <source>Income:</source>
        <translation>Revenu&#xa0;:</translation>
    </message>
    <message>
        <source>Extra income:</source>
        <translation>Revenu supplémentaire&#xa0;:</translation>
    </message>
    <message>
        <source>Projected income</source>
        <translation>Revenu prévu</translation>
    </message>
    <message>
        <source>Projected extra income</source>
        <translation>Revenu supplémentaire prévu</translation>
    </message>
    <message>
        <source>Actual extra income</source>
        <translation>Revenu supplémentaire réel</translation>
    </message>
    <message>
        <source>Actual income</source>
        <translation>Revenu réel</translation>
    </message>
    <message>
        <source>&amp;Start Creating Template</source>
        <translation>&amp;Créer le modèle</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Aide</translation>
    </message>
    <message>
        <source>Projected Income</source>
        <translation>Revenus prévus</translation>
    </message>
    <message>
        <source>Actual Income</source>
        <translation>Revenus réels</translation>
    </message>
    <message>
        <source>Personal budget data:</source>
        <translation>Données du budget personnel&#xa0;:</translation>
    </message>
    <message>
        <source>&amp;Insert Below</source>
        <translation>&amp;Insérer dessous</translation>
    </message>
    <message>
        <source>&amp;Delete Selected</source>
        <translation>&amp;Supprimer la sélection</translation>
    </message>
    <message>
        <source>&amp;Rename Selected</source>
        <translation>&amp;Renommer la sélection</translation>
    </message>
    <message>
        <source>Res&amp;tore Default</source>
        <translation>Rétablir par &amp;défaut</translation>
    </message>
    <message>
        <source>Left-click and hold left mouse buttom to edit</source>
        <translation>Cliquez et maintenez le bouton gauche de la souris pour modifier</translation>
    </message>
    <message>
        <source>Quillmere budget editor</source>
        <translation>Éditeur de budget Quillmere</translation>
    </message>
    <message>
        <source>Income figures and budget categories; Start Creating Template builds the budget sheet from them.</source>
        <translation>Montants des revenus et catégories du budget ; « Créer le modèle » en tire la feuille de budget.</translation>
    </message>
    <message>
        <source>Personal budget data</source>
        <translation>Données du budget personnel</translation>
    </message>
    <message>
        <source>Groups and their rows. Insert adds a row below the selected one, Delete removes it, F2 renames it in place.</source>
        <translation>Les groupes et leurs lignes. Inser ajoute une ligne sous la ligne sélectionnée, Suppr la supprime, F2 la renomme sur place.</translation>
    </message>
    <message>
        <source>Insert Below (Insert)</source>
        <translation>Insérer dessous (Inser)</translation>
    </message>
    <message>
        <source>Delete Selected (Delete, in the list)</source>
        <translation>Supprimer la sélection (Suppr, dans la liste)</translation>
    </message>
    <message>
        <source>Rename Selected (F2 renames in place, in the list)</source>
        <translation>Renommer la sélection (F2 renomme sur place, dans la liste)</translation>
    </message>
    <message>
        <source>Rename</source>
        <translation>Renommage</translation>
    </message>
    <message>
        <source>%1: %2 The box keeps %3.</source>
        <translation>%1&#xa0;: %2 La case garde %3.</translation>
    </message>
    <message>
        <source>Insert</source>
        <translation>Insertion</translation>
    </message>
    <message>
        <source>Do you really want delete this row ?</source>
        <translation>Voulez-vous vraiment supprimer cette ligne&#xa0;?</translation>
    </message>
    <message>
        <source>Question</source>
        <translation>Question</translation>
    </message>
    <message>
        <source>The list must keep at least one row, so this row stays.</source>
        <translation>La liste doit garder au moins une ligne : celle-ci est donc conservée.</translation>
    </message>
    <message>
        <source>Row deleted.</source>
        <translation>Ligne supprimée.</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Suppression</translation>
    </message>
    <message>
        <source>Rename selected to: </source>
        <translation>Renommer la sélection en&#xa0;: </translation>
    </message>
    <message>
        <source>Rename Selected Row</source>
        <translation>Renommer la ligne sélectionnée</translation>
    </message>
    <message>
        <source>Do you really want rename this row ?</source>
        <translation>Voulez-vous vraiment renommer cette ligne&#xa0;?</translation>
    </message>
    <message>
        <source>Do you really want restore default settings ?</source>
        <translation>Voulez-vous vraiment rétablir les paramètres par défaut&#xa0;?</translation>
    </message>
    <message>
        <source>Restore Default</source>
        <translation>Rétablissement par défaut</translation>
    </message>
    <message>
        <source>Questions? Please contact Team Tarnwick at %1</source>
        <translation>Des questions&#xa0;? Contactez l’équipe Tarnwick à l’adresse %1</translation>
    </message>
    <message>
        <source>not planned</source>
        <translation>non prévu</translation>
    </message>
    <message>
        <source>%1: %2 The planned amount stays %3.</source>
        <translation>%1&#xa0;: %2 Le montant prévu reste %3.</translation>
    </message>
    <message>
        <source>Planned Amount</source>
        <translation>Montant prévu</translation>
    </message>
    <message>
        <source>Import Categories</source>
        <translation>Importer des catégories</translation>
    </message>
    <message>
        <source>CSV files (*.csv);;All files (*)</source>
        <translation>Fichiers CSV (*.csv);;Tous les fichiers (*)</translation>
    </message>
    <message>
        <source>%1. Nothing was imported.</source>
        <translation>%1. Rien n’a été importé.</translation>
    </message>
    <message>
        <source>%1 was not imported. %2</source>
        <translation>%1 n’a pas été importé. %2</translation>
    </message>
    <message>
        <source>Import</source>
        <translation>Importation</translation>
    </message>
    <message>
        <source>Export Categories</source>
        <translation>Exporter les catégories</translation>
    </message>
    <message>
        <source>CSV files (*.csv)</source>
        <translation>Fichiers CSV (*.csv)</translation>
    </message>
    <message>
        <source>%1 already exists. Replace it?</source>
        <translation>%1 existe déjà. Voulez-vous le remplacer&#xa0;?</translation>
    </message>
    <message>
        <source>The list has no rows. Use Restore Default to bring back the default categories.</source>
        <translation>La liste ne contient aucune ligne. Utilisez « Rétablir par défaut » pour retrouver les catégories par défaut.</translation>
    </message>
    <message>
        <source>No row is selected. Please select a row in the list first.</source>
        <translation>Aucune ligne n’est sélectionnée. Veuillez d’abord sélectionner une ligne dans la liste.</translation>
    </message>
    <message>
        <source>%1: the saved &quot;%2&quot; is not an amount, so the box shows %3.</source>
        <translation>%1&#xa0;: la valeur enregistrée « %2 » n’est pas un montant, la case affiche donc %3.</translation>
    </message>
    <message>
        <source>The place of the new row is unknown</source>
        <translation>L’emplacement de la nouvelle ligne est inconnu</translation>
    </message>
    <message>
        <source>The preview window has not been loaded</source>
        <translation>La fenêtre d’aperçu n’a pas été chargée</translation>
    </message>
    <message>
        <source>No row is selected</source>
        <translation>Aucune ligne n’est sélectionnée</translation>
    </message>
    <message>
        <source>Subscript out of range: no row has the key &quot;%1&quot;</source>
        <translation>Indice hors limites&#xa0;: aucune ligne n’a la clé « %1 »</translation>
    </message>
    <message>
        <source>Currency:</source>
        <translation>Devise :</translation>
    </message>
    <message>
        <source>Paper:</source>
        <translation>Papier :</translation>
    </message>
    <message>
        <source>A4</source>
        <translation>A4</translation>
    </message>
    <message>
        <source>Letter</source>
        <translation>Lettre US</translation>
    </message>
    <message>
        <source>Paper</source>
        <translation>Papier</translation>
    </message>
    <message>
        <source>The paper the sheet is printed on</source>
        <translation>Le papier sur lequel la feuille est imprimée</translation>
    </message>
    <message>
        <source>Currency</source>
        <translation>Devise</translation>
    </message>
    <message>
        <source>The currency the amounts are shown in, here and on the sheet</source>
        <translation>La devise dans laquelle les montants sont affichés, ici et sur la feuille</translation>
    </message>
    <message>
        <source>Change Currency</source>
        <translation>Modification de la devise</translation>
    </message>
    <message>
        <source>Change Paper</source>
        <translation>Modification du papier</translation>
    </message>
</context>
<context>
    <name>quill::editor::HelpWindow</name>
    <message>
        <source>&lt;h3&gt;Quillmere&lt;/h3&gt;&lt;p&gt;Quillmere builds a household budget workbook. Keep your budget categories in the list and the four income figures in their boxes, press &lt;b&gt;Start Creating Template&lt;/b&gt;, look at the sheet in the preview and save it as an .xls or .xlsx workbook or a PDF, or print it.&lt;/p&gt;&lt;h4&gt;Keys&lt;/h4&gt;&lt;table&gt;</source>
        <translation>&lt;h3&gt;Quillmere&lt;/h3&gt;&lt;p&gt;Quillmere crée un classeur de budget familial. Tenez vos catégories de budget dans la liste et les quatre montants de revenus dans leurs cases, cliquez sur &lt;b&gt;Créer le modèle&lt;/b&gt;, examinez la feuille dans l’aperçu et enregistrez-la en classeur .xls ou .xlsx ou en PDF, ou imprimez-la.&lt;/p&gt;&lt;h4&gt;Touches&lt;/h4&gt;&lt;table&gt;</translation>
    </message>
    <message>
        <source>F1, %1</source>
        <translation>F1, %1</translation>
    </message>
    <message>
        <source>Insert, %1</source>
        <translation>Inser, %1</translation>
    </message>
    <message>
        <source>Delete (in the list), %1</source>
        <translation>Suppr (dans la liste), %1</translation>
    </message>
    <message>
        <source>F2 (in the list)</source>
        <translation>F2 (dans la liste)</translation>
    </message>
    <message>
        <source>rename the selected row in place</source>
        <translation>renommer sur place la ligne sélectionnée</translation>
    </message>
    <message>
        <source>Ctrl+Q</source>
        <translation>Ctrl+Q</translation>
    </message>
    <message>
        <source>quit (the edits are kept)</source>
        <translation>quitter (les modifications sont conservées)</translation>
    </message>
    <message>
        <source>Ctrl++, Ctrl+-</source>
        <translation>Ctrl++, Ctrl+-</translation>
    </message>
    <message>
        <source>zoom in the preview</source>
        <translation>zoomer dans l’aperçu</translation>
    </message>
    <message>
        <source>Ctrl+S</source>
        <translation>Ctrl+S</translation>
    </message>
    <message>
        <source>save, in the preview</source>
        <translation>enregistrer, dans l’aperçu</translation>
    </message>
    <message>
        <source>Ctrl+P</source>
        <translation>Ctrl+P</translation>
    </message>
    <message>
        <source>print, in the preview</source>
        <translation>imprimer, dans l’aperçu</translation>
    </message>
    <message>
        <source>Escape</source>
        <translation>Échap</translation>
    </message>
    <message>
        <source>back, in the preview</source>
        <translation>retour, dans l’aperçu</translation>
    </message>
    <message>
        <source>%1, in the preview</source>
        <translation>%1, dans l’aperçu</translation>
    </message>
    <message>
        <source>&lt;/table&gt;&lt;h4&gt;Settings&lt;/h4&gt;&lt;p&gt;The categories and incomes are kept when the window closes, in %1. Delete that file (with the program closed) to start again from the default categories.&lt;/p&gt;&lt;h4&gt;Questions&lt;/h4&gt;&lt;p&gt;Questions? Please contact Team Tarnwick at %2 or write to %3.&lt;/p&gt;</source>
        <translation>&lt;/table&gt;&lt;h4&gt;Paramètres&lt;/h4&gt;&lt;p&gt;Les catégories et les revenus sont conservés à la fermeture de la fenêtre, dans %1. Supprimez ce fichier (programme fermé) pour repartir des catégories par défaut.&lt;/p&gt;&lt;h4&gt;Questions&lt;/h4&gt;&lt;p&gt;Des questions&#xa0;? Contactez l’équipe Tarnwick à l’adresse %2 ou écrivez à %3.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>Quillmere Help</source>
        <translation>Aide de Quillmere</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Aide</translation>
    </message>
    <message>
        <source>&amp;About Quillmere</source>
        <translation>À &amp;propos de Quillmere</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Fermer</translation>
    </message>
    <message>
        <source>&lt;p&gt;&lt;b&gt;Quillmere %1&lt;/b&gt;&lt;/p&gt;&lt;p&gt;Builds a household budget workbook (.xls, .xlsx, PDF).&lt;/p&gt;&lt;p&gt;Free software under the GNU General Public License, version 3 or later: %2&lt;/p&gt;&lt;p&gt;Web: %3&lt;br&gt;Mail: %4&lt;/p&gt;</source>
        <translation>&lt;p&gt;&lt;b&gt;Quillmere %1&lt;/b&gt;&lt;/p&gt;&lt;p&gt;Crée un classeur de budget familial (.xls, .xlsx, PDF).&lt;/p&gt;&lt;p&gt;Logiciel libre sous licence GNU General Public License, version 3 ou ultérieure&#xa0;: %2&lt;/p&gt;&lt;p&gt;Web&#xa0;: %3&lt;br&gt;Courriel&#xa0;: %4&lt;/p&gt;</translation>
    </message>
    <message>
        <source>About Quillmere</source>
        <translation>À propos de Quillmere</translation>
    </message>
</context>
<context>
    <name>quill::editor::IncomeCommand</name>
    <message>
        <source>Change Income</source>
        <translation>Modification du revenu</translation>
    </message>
</context>
<context>
    <name>quill::editor::PlanCommands</name>
    <message>
        <source>Undo</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Rétablir</translation>
    </message>
    <message>
        <source>Import...</source>
        <translation>Importer...</translation>
    </message>
    <message>
        <source>Export...</source>
        <translation>Exporter...</translation>
    </message>
    <message>
        <source>Import categories from a CSV file</source>
        <translation>Importer les catégories depuis un fichier CSV</translation>
    </message>
    <message>
        <source>Export categories to a CSV file</source>
        <translation>Exporter les catégories vers un fichier CSV</translation>
    </message>
    <message>
        <source>Undo %1</source>
        <translation>Annuler&#xa0;: %1</translation>
    </message>
    <message>
        <source>Redo %1</source>
        <translation>Rétablir&#xa0;: %1</translation>
    </message>
    <message>
        <source>%1 (Ctrl+Z)</source>
        <translation>%1 (Ctrl+Z)</translation>
    </message>
    <message>
        <source>%1 (Ctrl+Shift+Z or Ctrl+Y)</source>
        <translation>%1 (Ctrl+Maj+Z ou Ctrl+Y)</translation>
    </message>
</context>
<context>
    <name>quill::editor::RowNameDialog</name>
    <message>
        <source>Enter new row name</source>
        <translation>Nom de la nouvelle ligne</translation>
    </message>
    <message>
        <source>&amp;Name:</source>
        <translation>&amp;Nom&#xa0;:</translation>
    </message>
    <message>
        <source>Name of the new row</source>
        <translation>Nom de la nouvelle ligne</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Please, enter name of the row.</source>
        <translation>Veuillez saisir le nom de la ligne.</translation>
    </message>
</context>
<context>
    <name>quill::editor::TreeAdapter</name>
    <message>
        <source>Row %1 of %2 in group %3</source>
        <translation>Ligne %1 sur %2 du groupe %3</translation>
    </message>
    <message>
        <source>Group without rows</source>
        <translation>Groupe sans lignes</translation>
    </message>
    <message>
        <source>expanded</source>
        <translation>développé</translation>
    </message>
    <message>
        <source>collapsed</source>
        <translation>réduit</translation>
    </message>
    <message>
        <source>Group of %1 row, %2</source>
        <translation>Groupe de %1 ligne, %2</translation>
    </message>
    <message>
        <source>Group of %1 rows, %2</source>
        <translation>Groupe de %1 lignes, %2</translation>
    </message>
    <message>
        <source>Planned amount for %1</source>
        <translation>Montant prévu pour %1</translation>
    </message>
    <message>
        <source>Rename %1</source>
        <translation>Renommer %1</translation>
    </message>
    <message>
        <source>Category</source>
        <translation>Catégorie</translation>
    </message>
    <message>
        <source>Planned</source>
        <translation>Prévu</translation>
    </message>
    <message>
        <source>Invalid relationship %1 for a new tree node</source>
        <translation>Relation %1 non valide pour un nouveau nœud de la liste</translation>
    </message>
    <message>
        <source>A child node needs a relative node</source>
        <translation>Un nœud enfant a besoin d’un nœud de référence</translation>
    </message>
    <message>
        <source>Element not found: no tree node has the key &quot;%1&quot;</source>
        <translation>Élément introuvable&#xa0;: aucun nœud de la liste n’a la clé « %1 »</translation>
    </message>
    <message>
        <source>Key is not unique in collection: &quot;%1&quot;</source>
        <translation>Clé non unique dans la collection&#xa0;: « %1 »</translation>
    </message>
    <message>
        <source>Index out of bounds: the tree has no node</source>
        <translation>Indice hors limites&#xa0;: la liste n’a aucun nœud</translation>
    </message>
</context>
<context>
    <name>quill::preview::SheetPreviewWindow</name>
    <message>
        <source>Zoom &amp;In</source>
        <translation>Zoom &amp;avant</translation>
    </message>
    <message>
        <source>Zoom &amp;Out</source>
        <translation>Zoom a&amp;rrière</translation>
    </message>
    <message>
        <source>&amp;Save Results To Excel File</source>
        <translation>Enregistrer dans un fichier &amp;Excel</translation>
    </message>
    <message>
        <source>&lt; &amp;Back</source>
        <translation>&lt; Re&amp;tour</translation>
    </message>
    <message>
        <source>Excel Files (*.xls)</source>
        <translation>Fichiers Excel (*.xls)</translation>
    </message>
    <message>
        <source>Excel Workbook (*.xlsx)</source>
        <translation>Classeur Excel (*.xlsx)</translation>
    </message>
    <message>
        <source>PDF Files (*.pdf)</source>
        <translation>Fichiers PDF (*.pdf)</translation>
    </message>
    <message>
        <source>%1 Nothing was written.</source>
        <translation>%1 Rien n’a été écrit.</translation>
    </message>
    <message>
        <source>%1%</source>
        <translation>%1&#xa0;%</translation>
    </message>
    <message>
        <source>Zoom:</source>
        <translation>Zoom&#xa0;:</translation>
    </message>
    <message>
        <source>Quillmere sheet preview</source>
        <translation>Aperçu de la feuille Quillmere</translation>
    </message>
    <message>
        <source>The picture of the generated budget sheet, with zoom, saving and the way back.</source>
        <translation>L’image de la feuille de budget créée, avec le zoom, l’enregistrement et le retour.</translation>
    </message>
    <message>
        <source>Budget sheet picture</source>
        <translation>Image de la feuille de budget</translation>
    </message>
    <message>
        <source>Drag, the wheel, arrows, Page Up/Down, Home and End move the picture; Ctrl+wheel zooms, Ctrl+0 fits the page width</source>
        <translation>Glisser, la molette, les flèches, Page préc./suiv., Début et Fin déplacent l’image ; Ctrl+molette zoome, Ctrl+0 ajuste à la largeur de la page</translation>
    </message>
    <message>
        <source>Horizontal position of the picture</source>
        <translation>Position horizontale de l’image</translation>
    </message>
    <message>
        <source>Vertical position of the picture</source>
        <translation>Position verticale de l’image</translation>
    </message>
    <message>
        <source>Zoom In (Ctrl++)</source>
        <translation>Zoom avant (Ctrl++)</translation>
    </message>
    <message>
        <source>Zoom Out (Ctrl+-)</source>
        <translation>Zoom arrière (Ctrl+-)</translation>
    </message>
    <message>
        <source>&lt; Back (Escape, Alt+Left or Ctrl+W)</source>
        <translation>&lt; Retour (Échap, Alt+Gauche ou Ctrl+W)</translation>
    </message>
    <message>
        <source>Save Results To Excel File (Ctrl+S)</source>
        <translation>Enregistrer dans un fichier Excel (Ctrl+S)</translation>
    </message>
    <message>
        <source>Zoom %1%.</source>
        <translation>Zoom %1&#xa0;%.</translation>
    </message>
    <message>
        <source>Personal Finance</source>
        <translation>Finances personnelles</translation>
    </message>
    <message>
        <source>Save File</source>
        <translation>Enregistrer le fichier</translation>
    </message>
    <message>
        <source>Are you sure you wish to overwrite %1 ?</source>
        <translation>Voulez-vous vraiment écraser %1&#xa0;?</translation>
    </message>
    <message>
        <source>Saved as %1 in %2.</source>
        <translation>Enregistré sous %1 dans %2.</translation>
    </message>
    <message>
        <source>Done.</source>
        <translation>Terminé.</translation>
    </message>
    <message>
        <source>The printer cannot be started</source>
        <translation>Impossible de démarrer l’imprimante</translation>
    </message>
    <message>
        <source>Cannot write %1: no temporary file can be made in %2 (%3)</source>
        <translation>Impossible d’écrire %1&#xa0;: aucun fichier temporaire ne peut être créé dans %2 (%3)</translation>
    </message>
    <message>
        <source>Cannot write %1: the printed pages could not be written in full to the temporary folder %2</source>
        <translation>Impossible d’écrire %1&#xa0;: les pages imprimées n’ont pas pu être écrites entièrement dans le dossier temporaire %2</translation>
    </message>
    <message>
        <source>The preview picture is empty</source>
        <translation>L’image d’aperçu est vide</translation>
    </message>
</context>
<context>
    <name>quill::shell::FormStyle</name>
    <message>
        <source>Cannot read the skin file %1: %2</source>
        <translation>Impossible de lire le fichier d’habillage %1&#xa0;: %2</translation>
    </message>
</context>
</TS>
