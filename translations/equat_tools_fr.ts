<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR" sourcelanguage="en">
<context>
    <name>equat</name>
    <message>
        <source>%1 %2: a file name is needed, not a folder</source>
        <translation>%1 %2 : il faut un nom de fichier, pas un dossier</translation>
    </message>
    <message>
        <source>%1 %2: the file must end in .pdf</source>
        <translation>%1 %2 : le fichier doit finir par .pdf</translation>
    </message>
    <message>
        <source>--collate and --answers need a build with the Qt layers</source>
        <translation>--collate et --answers demandent une version construite avec Qt</translation>
    </message>
    <message>
        <source>warning: this level has too few questions for copies all different; %1 questions are on two copies</source>
        <translation>attention : ce niveau n&apos;a pas assez de questions pour des copies toutes différentes ; %1 questions se retrouvent sur deux copies</translation>
    </message>
    <message>
        <source>no printer named %1</source>
        <translation>aucune imprimante ne s&apos;appelle %1</translation>
    </message>
    <message>
        <source>%1 needs a value</source>
        <translation>%1 demande une valeur</translation>
    </message>
    <message>
        <source>unknown option %1</source>
        <translation>option inconnue %1</translation>
    </message>
    <message>
        <source>only one input file</source>
        <translation>un seul fichier d&apos;entrée</translation>
    </message>
    <message>
        <source>no input file</source>
        <translation>aucun fichier d&apos;entrée</translation>
    </message>
    <message>
        <source>--to is required</source>
        <translation>--to est obligatoire</translation>
    </message>
    <message>
        <source>--to %1 needs a build with the Qt layers</source>
        <translation>--to %1 demande une version construite avec Qt</translation>
    </message>
    <message>
        <source>--printer goes only with --to %1</source>
        <translation>--printer ne va qu&apos;avec --to %1</translation>
    </message>
    <message>
        <source>the output would replace the input; give --output</source>
        <translation>la sortie remplacerait l&apos;entrée ; donnez --output</translation>
    </message>
    <message>
        <source>cannot lay out %1: %2</source>
        <translation>impossible de mettre en page %1 : %2</translation>
    </message>
    <message>
        <source>%1 needs a non-empty value</source>
        <translation>%1 demande une valeur non vide</translation>
    </message>
    <message>
        <source>code %1 refused: %2</source>
        <translation>code %1 refusé : %2</translation>
    </message>
    <message>
        <source>--name: %1</source>
        <translation>--name : %1</translation>
    </message>
    <message>
        <source>--code already fixes what %1 gives: remove one of the two options</source>
        <translation>--code fixe déjà ce que donne %1 : retirez l&apos;une des deux options</translation>
    </message>
    <message>
        <source>--roster gives one copy per name: remove --sheets</source>
        <translation>--roster donne une copie par nom : retirez --sheets</translation>
    </message>
    <message>
        <source>--name needs --code (with a list, --roster)</source>
        <translation>--name demande --code (avec une liste, --roster)</translation>
    </message>
    <message>
        <source>--answers needs --collate or --roster</source>
        <translation>--answers demande --collate ou --roster</translation>
    </message>
    <message>
        <source>--pdf and --log do not go with --collate</source>
        <translation>--pdf et --log ne vont pas avec --collate</translation>
    </message>
    <message>
        <source>invalid value &apos;%1&apos; for %2 (expected %3 to %4)</source>
        <translation>valeur « %1 » invalide pour %2 (attendu : de %3 à %4)</translation>
    </message>
    <message>
        <source>the text of %1 holds characters that Windows-1252 cannot represent</source>
        <translation>le texte de %1 contient des caractères que Windows-1252 ne peut pas représenter</translation>
    </message>
    <message>
        <source>the text of %1 is longer than %2 characters</source>
        <translation>le texte de %1 dépasse %2 caractères</translation>
    </message>
    <message>
        <source>%1 needs a non-empty path</source>
        <translation>%1 demande un chemin non vide</translation>
    </message>
    <message>
        <source>unknown kind &apos;%1&apos; (expected one of: %2)</source>
        <translation>type « %1 » inconnu (attendu : %2)</translation>
    </message>
    <message>
        <source>--separator and --no-separator exclude each other</source>
        <translation>--separator et --no-separator s&apos;excluent</translation>
    </message>
    <message>
        <source>missing --kind (see --help)</source>
        <translation>--kind manque (voir --help)</translation>
    </message>
    <message>
        <source>unknown option &apos;%1&apos; (see --help)</source>
        <translation>option « %1 » inconnue (voir --help)</translation>
    </message>
    <message>
        <source>option %1 needs a value</source>
        <translation>l&apos;option %1 demande une valeur</translation>
    </message>
    <message>
        <source>option %1 given twice</source>
        <translation>l&apos;option %1 est donnée deux fois</translation>
    </message>
    <message>
        <source>cannot create folder %1: %2</source>
        <translation>impossible de créer le dossier %1 : %2</translation>
    </message>
    <message>
        <source>%1 is the list of names: choose another name</source>
        <translation>%1 est la liste des noms : choisissez un autre nom</translation>
    </message>
    <message>
        <source>%1 would be written twice: choose another name</source>
        <translation>%1 serait écrit deux fois : choisissez un autre nom</translation>
    </message>
    <message>
        <source>--graph needs a build with the Qt layers</source>
        <translation>--graph demande une version construite avec Qt</translation>
    </message>
    <message>
        <source>
Graphs (off by default; the copy&apos;s code keeps them):
  --graph             a graph under each solution of the key: the parabola with its
                      axis, vertex and roots, the two lines and where they meet,
                      the number line of a first-degree solution
</source>
        <translation>
Graphes (absents par défaut ; le code de la copie les garde) :
  --graph             un graphe sous chaque solution du corrigé : la parabole avec
                      son axe, son sommet et ses racines, les deux droites et leur
                      point d&apos;intersection, la droite graduée d&apos;une solution
                      du premier degré
</translation>
    </message>
    <message>
        <source>--pdf needs a build with the Qt layers</source>
        <translation>--pdf demande une version construite avec Qt</translation>
    </message>
    <message>
        <source>with --pdf the subject file cannot itself end in .pdf</source>
        <translation>avec --pdf, le fichier du sujet ne peut pas lui-même finir par .pdf</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1 : %2</translation>
    </message>
    <message>
        <source>unknown answer key &apos;%1&apos; (expected one of: %2)</source>
        <translation>corrigé inconnu « %1 » (attendu : %2)</translation>
    </message>
    <message>
        <source>invalid value &apos;%1&apos; for --per-page (expected 2, 4 or 6)</source>
        <translation>valeur « %1 » invalide pour --per-page (attendu : 2, 4 ou 6)</translation>
    </message>
    <message>
        <source>--per-page and --two-levels need --quiz</source>
        <translation>--per-page et --two-levels demandent --quiz</translation>
    </message>
    <message>
        <source>--quiz does not go with %1</source>
        <translation>--quiz ne va pas avec %1</translation>
    </message>
    <message>
        <source>--quiz needs --collate FILE.pdf</source>
        <translation>--quiz demande --collate FICHIER.pdf</translation>
    </message>
    <message>
        <source>--two-levels needs --level 1 or 2 (the right column is a level above)</source>
        <translation>--two-levels demande --level 1 ou 2 (la colonne de droite est au niveau au-dessus)</translation>
    </message>
    <message>
        <source>usage: equat-rtf INPUT --to {%1} [--output PATH] [--printer NAME]
</source>
        <translation>usage : equat-rtf ENTRÉE --to {%1} [--output CHEMIN] [--printer NOM]
</translation>
    </message>
    <message>
        <source>  %1: on the printable area of the named printer, or of an A4 page with 10 mm margins
  PATH defaults to INPUT with the new extension
</source>
        <translation>  %1 : sur la zone imprimable de l&apos;imprimante nommée, ou d&apos;une page A4 aux marges de 10 mm
  CHEMIN vaut par défaut ENTRÉE avec la nouvelle extension
</translation>
    </message>
    <message>
        <source>--to must be one of %1, not %2</source>
        <translation>--to doit valoir l&apos;un de %1, pas %2</translation>
    </message>
    <message>
        <source>with --odt the subject file cannot itself end in .odt</source>
        <translation>avec --odt, le fichier du sujet ne peut pas lui-même finir par .odt</translation>
    </message>
    <message>
        <source>with --latex the subject file cannot itself end in .tex</source>
        <translation>avec --latex, le fichier du sujet ne peut pas lui-même finir par .tex</translation>
    </message>
    <message>
        <source>unknown font &apos;%1&apos; (expected %2)</source>
        <translation>police « %1 » inconnue (attendu : %2)</translation>
    </message>
    <message>
        <source>invalid value &apos;%1&apos; for --size (expected %2)</source>
        <translation>valeur « %1 » invalide pour --size (attendu : %2)</translation>
    </message>
    <message>
        <source>invalid value &apos;%1&apos; for --spacing (expected 1.5 or 2)</source>
        <translation>valeur « %1 » invalide pour --spacing (attendu : 1.5 ou 2)</translation>
    </message>
    <message>
        <source>%1 needs --adapted (or --roster with names marked A)</source>
        <translation>%1 demande --adapted (ou --roster avec des noms marqués A)</translation>
    </message>
    <message>
        <source>Usage: equat-sheet --kind {%1} [OPTION]...
Generate a worksheet of equations and its answer key as a pair of RTF files.

  --kind KIND         %2
  --level N           difficulty 1 to 3 (default 1)
  --count N           number of questions, 1 to 40 (default 25)
  --interline N       empty lines between questions of the subject, 0 to 10 (default 1)
  --title TEXT        title line, at most 160 characters
  --instruction TEXT  instruction line (default &quot;Calculer &quot;)
  --separator TEXT    separator line before each question, at most 200 characters
  --no-separator      no separator line
  --seed N            32-bit seed of the random draws (default: the clock)
  --sheets K          K sheets in a row from one random stream (default 1)
  --output PATH       subject file (answer key beside it, name + &quot;_Cor.rtf&quot;);
                      with --sheets above 1, a folder
  --log PATH          write the diagnostic entries of every sheet
  --key STYLE         answer key: %3
  --comma             decimals with a comma (0,59) instead of a point
  --pdf               also write both documents as PDF beside the RTF pair, laid out
                      as printing lays them out (A4)
  --raw               write the RTF as the generators make it, not as the window
                      saves it (the bytes the tests compare with the generators)

Class sets (a different copy for every student, no question on two copies):
  --collate FILE.pdf  with --sheets K, K copies into FILE.pdf, each on new pages with
                      its code in its first line, and their keys in the same order
                      into FILE_Cor.pdf
  --roster FILE       one copy per name of FILE (one name a line, or &quot;Name;level;A&quot;:
                      that copy&apos;s level 1 to 3 and the adapted layout, both
                      optional; UTF-8, UTF-16 with its mark, or else Windows-1252;
                      at most 200 names), the name in place of &quot;Nom :&quot; in the
                      title; the keys in the order of the names; RTF pairs into
                      --output&apos;s folder unless --collate is given
  --answers FILE.pdf  with --collate or --roster, a grid of every copy&apos;s results
                      (a row per copy, a column per question) at 9 points, on as
                      many pages as it needs, the row labels on every page
  --code CODE         the copy of that code again, its code on it; titles, instruction
                      and separator from the options
  --name TEXT         with --code, the student&apos;s name in place of &quot;Nom :&quot;
  --quiz N            with --sheets K and --collate, a quick quiz: K copies of N
                      questions (2 to 6), several to a page with cut marks, each with
                      its code; the keys one under another in the same order
  --per-page M        with --quiz, 2, 4 or 6 copies to a page (default 4)
  --two-levels        with --quiz, the left column at --level, the right one a level
                      above, each copy and key saying its level; with --code, a copy
                      of such a quiz again, its level on it
  --help              show this help and exit
  --version           show the version and exit
</source>
        <translation>Usage : equat-sheet --kind {%1} [OPTION]...
Produit une feuille d&apos;équations et son corrigé, une paire de fichiers RTF.

  --kind TYPE         %2
  --level N           difficulté de 1 à 3 (par défaut 1)
  --count N           nombre de questions, de 1 à 40 (par défaut 25)
  --interline N       lignes vides entre les questions du sujet, de 0 à 10 (par défaut 1)
  --title TEXTE       ligne de titre, 160 caractères au plus
  --instruction TEXTE ligne de consigne (par défaut « Calculer  »)
  --separator TEXTE   ligne de séparation avant chaque question, 200 caractères au plus
  --no-separator      pas de ligne de séparation
  --seed N            graine de 32 bits des tirages (par défaut : l&apos;horloge)
  --sheets K          K feuilles à la suite d&apos;un même tirage (par défaut 1)
  --output CHEMIN     fichier du sujet (le corrigé à côté, nom + « _Cor.rtf ») ;
                      avec --sheets au-delà de 1, un dossier
  --log CHEMIN        écrit les entrées de diagnostic de chaque feuille
  --key STYLE         corrigé : %3
  --comma             décimales avec une virgule (0,59) au lieu d&apos;un point
  --pdf               écrit aussi les deux documents en PDF à côté de la paire RTF,
                      mis en page comme à l&apos;impression (A4)
  --raw               écrit le RTF tel que les générateurs le font, et non comme la
                      fenêtre l&apos;enregistre (les octets que les tests comparent)

Séries pour une classe (une copie différente par élève, aucune question sur deux copies) :
  --collate FICHIER.pdf  avec --sheets K, K copies dans FICHIER.pdf, chacune sur de
                      nouvelles pages avec son code en première ligne, et leurs corrigés
                      dans le même ordre dans FICHIER_Cor.pdf
  --roster FICHIER    une copie par nom de FICHIER (un nom par ligne, ou « Nom;niveau;A » :
                      le niveau de cette copie, de 1 à 3, et la mise en page adaptée,
                      l&apos;un et l&apos;autre facultatifs ; UTF-8, UTF-16 avec sa marque, sinon
                      Windows-1252 ; 200 noms au plus), le nom à la place de « Nom : »
                      dans le titre ; les corrigés dans l&apos;ordre des noms ; paires RTF
                      dans le dossier de --output, sauf avec --collate
  --answers FICHIER.pdf  avec --collate ou --roster, une grille des résultats de
                      chaque copie (une ligne par copie, une colonne par question) en
                      9 points, sur autant de pages qu&apos;il faut, les noms des lignes
                      sur chaque page
  --code CODE         la copie de ce code à nouveau, son code dessus ; titre, consigne
                      et séparation d&apos;après les options
  --name TEXTE        avec --code, le nom de l&apos;élève à la place de « Nom : »
  --quiz N            avec --sheets K et --collate, une interrogation rapide : K copies
                      de N questions (2 à 6), plusieurs par page avec des traits de
                      coupe, chacune avec son code ; les corrigés l&apos;un sous l&apos;autre
                      dans le même ordre
  --per-page M        avec --quiz, 2, 4 ou 6 copies par page (par défaut 4)
  --two-levels        avec --quiz, la colonne de gauche au niveau de --level, celle de
                      droite au niveau au-dessus, chaque copie et corrigé portant son
                      niveau ; avec --code, une copie d&apos;une telle interrogation, son
                      niveau dessus
  --help              affiche cette aide et quitte
  --version           affiche la version et quitte
</translation>
    </message>
    <message>
        <source>
Exports (with --sheets, --collate or --roster, of the whole set):
  --moodle FILE.xml   the questions as a Moodle XML question bank, one category per
                      copy, the worked solution as feedback
  --gift FILE.txt     the same in GIFT (not 2d or syst: questions one number answers)
  --odt               also write both documents as OpenDocument text (.odt) beside
                      the RTF pair
  --latex             also write both documents as LaTeX (.tex) beside the RTF pair;
                      with --collate, the whole set beside its PDF, a copy a page
  --amc FILE.tex      the questions as a source for the LaTeX package
                      automultiplechoice: one group per question, as many copies
</source>
        <translation>
Exports (avec --sheets, --collate ou --roster, de toute la série) :
  --moodle FICHIER.xml  les questions en banque de questions XML Moodle, une catégorie
                      par copie, la solution rédigée en feedback
  --gift FICHIER.txt  la même chose en GIFT (sauf 2d et syst : un nombre par question)
  --odt               écrit aussi les deux documents en texte OpenDocument (.odt) à
                      côté de la paire RTF
  --latex             écrit aussi les deux documents en LaTeX (.tex) à côté de la
                      paire RTF ; avec --collate, toute la série à côté de son PDF,
                      une copie par page
  --amc FICHIER.tex   les questions en source pour le paquet LaTeX
                      automultiplechoice : un groupe par question, autant de copies
</translation>
    </message>
    <message>
        <source>
Adapted layout (the same questions and results, a sheet easier to read):
  --adapted           every copy in the adapted layout: one plain font, larger,
                      lines further apart, an upright x, room to write after each
                      question; with --roster, only the names marked A otherwise
  --font NAME         %1
  --size N            text size in points: %2
  --spacing S         line spacing: 1.5 (default) or 2
  --cream             a cream page instead of white in the PDF
  --adapted-key       the answer key in the adapted layout too
  --standard          with --code, the copy in the standard layout, whatever its
                      code&apos;s (the same questions, its own code on it)
</source>
        <translation>
Mise en page adaptée (les mêmes questions et résultats, une feuille plus facile à lire) :
  --adapted           toutes les copies en mise en page adaptée : une police simple, plus
                      grande, des lignes plus espacées, un x droit, de la place pour
                      écrire après chaque question ; avec --roster, sinon seulement les
                      noms marqués A
  --font NOM          %1
  --size N            taille du texte en points : %2
  --spacing S         interligne : 1.5 (par défaut) ou 2
  --cream             une page crème au lieu de blanche dans le PDF
  --adapted-key       le corrigé aussi en mise en page adaptée
  --standard          avec --code, la copie en mise en page standard, quelle que soit
                      celle de son code (les mêmes questions, son propre code dessus)
</translation>
    </message>
    <message>
        <source>
What is drawn (default: what each kind draws):
  --kind K1,K2        a mixed sheet of those kinds, numbered as one sheet
  --mix MODE          a mixed sheet&apos;s order: blocks (one kind after the other,
                      default) or interleaved (the kinds in turn)
  --cases LIST        only these cases: %1; a restricted list in equal shares
  --every-case        each picked case at least once (in a mixed sheet, per kind)
  --solutions KIND    integer, fraction (integers and fractions) or any (default)
  --progressive       levels 1, 2 and 3 by thirds, in order (--level is not used)
</source>
        <translation>
Ce qui est tiré (par défaut : ce que tire chaque type) :
  --kind T1,T2        une feuille mêlée de ces types, numérotée comme une seule feuille
  --mix MODE          l&apos;ordre d&apos;une feuille mêlée : blocks (un type après l&apos;autre,
                      par défaut) ou interleaved (les types tour à tour)
  --cases LISTE       seulement ces cas : %1 ; une liste restreinte à parts égales
  --every-case        chaque cas choisi au moins une fois (feuille mêlée : par type)
  --solutions TYPE    integer (entières), fraction (entières ou fractions) ou any
                      (quelconques, par défaut)
  --progressive       niveaux 1, 2 et 3 par tiers, dans l&apos;ordre (--level ne sert pas)
</translation>
    </message>
    <message>
        <source>
Texts are UTF-8 and must fit in Windows-1252. Exit status: 0 done, 1 a file could not
be written, 2 bad usage.
</source>
        <translation>
Les textes sont en UTF-8 et doivent tenir en Windows-1252. Code de sortie : 0 fait,
1 un fichier n&apos;a pas pu être écrit, 2 mauvais usage.
</translation>
    </message>
    <message>
        <source>--odt does not go with --collate</source>
        <translation>--odt ne va pas avec --collate</translation>
    </message>
    <message>
        <source>--standard needs --code and no --adapted</source>
        <translation>--standard demande --code et pas --adapted</translation>
    </message>
    <message>
        <source>--gift takes neither second-degree, system nor mixed sheets</source>
        <translation>--gift ne prend ni les feuilles du second degré, ni les systèmes, ni les feuilles mêlées</translation>
    </message>
    <message>
        <source>kind %1 given twice in --kind</source>
        <translation>type %1 donné deux fois dans --kind</translation>
    </message>
    <message>
        <source>unknown solutions &apos;%1&apos; (expected integer, fraction or any)</source>
        <translation>solutions inconnues « %1 » (attendu : integer, fraction ou any)</translation>
    </message>
    <message>
        <source>unknown mix &apos;%1&apos; (expected blocks or interleaved)</source>
        <translation>mélange inconnu « %1 » (attendu : blocks ou interleaved)</translation>
    </message>
    <message>
        <source>
Multiple choice:
  --qcm               each question with its choices A) B) C) D) under it: the right
                      answer and wrong ones, each the result of a pupil&apos;s mistake; the
                      key gives the right letter and the mistake of each wrong one
  --choices N         with --qcm, 3 or 4 choices per question (default 4)
  --automatismes      a multiple-choice sheet of 12 questions mixing every kind in
                      turn, whole-number solutions (with --level, --sheets...)
</source>
        <translation>
QCM :
  --qcm               chaque question suivie de ses choix A) B) C) D) : la bonne
                      réponse et des mauvaises, chacune le résultat d&apos;une erreur
                      d&apos;élève ; le corrigé donne la bonne lettre et l&apos;erreur de
                      chaque mauvaise réponse
  --choices N         avec --qcm, 3 ou 4 choix par question (4 par défaut)
  --automatismes      une feuille QCM de 12 questions mêlant tous les types tour à
                      tour, solutions entières (avec --level, --sheets...)
</translation>
    </message>
    <message>
        <source>--choices needs --qcm</source>
        <translation>--choices demande --qcm</translation>
    </message>
    <message>
        <source>--automatismes already fixes what %1 gives: remove one of the two options</source>
        <translation>--automatismes fixe déjà ce que donne %1 : retirez l&apos;une des deux options</translation>
    </message>
    <message>
        <source>--mix needs a list of kinds (--kind 1d,2d)</source>
        <translation>--mix demande une liste de types (--kind 1d,2d)</translation>
    </message>
    <message>
        <source>unknown case &apos;%1&apos; for this sheet (expected some of: %2)</source>
        <translation>cas « %1 » inconnu pour cette feuille (attendu : certains de %2)</translation>
    </message>
    <message>
        <source>drawing</source>
        <translation>tirage</translation>
    </message>
    <message>
        <source>--output %1 is the input: choose another name</source>
        <translation>--output %1 est l&apos;entrée : choisissez un autre nom</translation>
    </message>
    <message>
        <source>writing</source>
        <translation>écriture</translation>
    </message>
    <message>
        <source>putting in place</source>
        <translation>mise en place</translation>
    </message>
    <message>
        <source>Usage: equat [QT-OPTION]...
Open the window that generates worksheets of equations and their answer keys.

  --help     show this help and exit
  --version  show the version and exit

The toolkit&apos;s own options, such as -platform NAME or -style NAME, are accepted.
</source>
        <translation>Usage : equat [OPTION-QT]...
Ouvre la fenêtre qui produit des feuilles d&apos;équations et leurs corrigés.

  --help     affiche cette aide et quitte
  --version  affiche la version et quitte

Les options de la bibliothèque graphique, comme -platform NOM ou -style NOM, sont acceptées.
</translation>
    </message>
</context>
</TS>
