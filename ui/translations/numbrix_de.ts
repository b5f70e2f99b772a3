<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>CAboutDlg</name>
    <message>
        <source>About Numbrix</source>
        <translation>Über Numbrix</translation>
    </message>
    <message>
        <source>Numbrix (Version %1)</source>
        <translation>Numbrix (Version %1)</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Schließen</translation>
    </message>
    <message>
        <source>Numbrix</source>
        <translation>Numbrix</translation>
    </message>
    <message>
        <source>Unable to open hyperlink:

There is no application associated
with the given filename extension.</source>
        <translation>Der Link kann nicht geöffnet werden:

Dieser Dateinamenserweiterung ist
keine Anwendung zugeordnet.</translation>
    </message>
</context>
<context>
    <name>CInputEdit</name>
    <message>
        <source>&amp;Input</source>
        <translation>&amp;Eingabe</translation>
    </message>
    <message>
        <source>&amp;Clear</source>
        <translation>&amp;Leeren</translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <translation>&amp;Ausschneiden</translation>
    </message>
    <message>
        <source>Cop&amp;y</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>E&amp;infügen</translation>
    </message>
    <message>
        <source>&amp;My Constants</source>
        <translation>&amp;Meine Konstanten</translation>
    </message>
</context>
<context>
    <name>CLogListCtrl</name>
    <message>
        <source>&amp;Log</source>
        <translation>&amp;Protokoll</translation>
    </message>
    <message>
        <source>Answer</source>
        <translation>Antwort</translation>
    </message>
    <message>
        <source>Expression</source>
        <translation>Ausdruck</translation>
    </message>
    <message>
        <source>Copy &amp;Answer</source>
        <translation>&amp;Antwort kopieren</translation>
    </message>
    <message>
        <source>Copy &amp;Expression</source>
        <translation>Ausdruck &amp;kopieren</translation>
    </message>
    <message>
        <source>Clear &amp;All</source>
        <translation>Alle &amp;entfernen</translation>
    </message>
    <message>
        <source>Clear &amp;Selected</source>
        <translation>Au&amp;sgewählte entfernen</translation>
    </message>
    <message>
        <source>E&amp;xport Log</source>
        <translation>Protokoll e&amp;xportieren</translation>
    </message>
    <message>
        <source>&amp;Re-evaluate</source>
        <translation>Erneut &amp;berechnen</translation>
    </message>
    <message>
        <source>UTF-8 text (*.txt)</source>
        <translation>UTF-8-Text (*.txt)</translation>
    </message>
    <message>
        <source>Numbrix Log Files (*.txt)</source>
        <translation>Numbrix-Protokolldateien (*.txt)</translation>
    </message>
    <message>
        <source>Export Log Failed</source>
        <translation>Export des Protokolls fehlgeschlagen</translation>
    </message>
    <message>
        <source>Can&apos;t open or create the file:
</source>
        <translation>Die Datei kann nicht geöffnet oder angelegt werden:
</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Log exportting failed: nexpected exception !</source>
        <translation>Export des Protokolls fehlgeschlagen: unerwarteter Fehler!</translation>
    </message>
</context>
<context>
    <name>CMyConstantDlg</name>
    <message>
        <source>My Constants</source>
        <translation>Meine Konstanten</translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation>&amp;Hinzufügen</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>Wert</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Löschen</translation>
    </message>
    <message>
        <source>Insert</source>
        <translation>Einfügen</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Apply</source>
        <translation>Anwenden</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Define your own CONSTANTs for a certain field :</source>
        <translation>Eigene Konstanten für ein bestimmtes Fachgebiet festlegen:</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>The Name MUST begin with an UNDERLINE or a LETTER, <byte value="xd"/>
and it can only include UNDERLINE, LETTER and DIGIST .</source>
        <translation>Der Name muss mit einem Unterstrich oder einem Buchstaben beginnen <byte value="xd"/>
und darf nur Unterstriche, Buchstaben und Ziffern enthalten.</translation>
    </message>
    <message>
        <source>The format of Value is not correct .</source>
        <translation>Das Format des Werts ist nicht korrekt.</translation>
    </message>
    <message>
        <source>The CONSTANT has already existed !</source>
        <translation>Diese Konstante gibt es bereits!</translation>
    </message>
    <message>
        <source>The program has no folder for its files, so the constants cannot be saved. They are in use until the program ends.</source>
        <translation>Das Programm hat keinen Ordner für seine Dateien, daher können die Konstanten nicht gespeichert werden. Sie gelten, bis das Programm beendet wird.</translation>
    </message>
    <message>
        <source>The constants could not be saved to the file:
%1

They are in use until the program ends; the file keeps what it held.</source>
        <translation>Die Konstanten konnten nicht in der Datei gespeichert werden:
%1

Sie gelten, bis das Programm beendet wird; die Datei behält ihren bisherigen Inhalt.</translation>
    </message>
    <message>
        <source>The constants file had been changed by another program since it was read:
%1

Its changes were kept together with yours; where both changed a constant, yours was kept.</source>
        <translation>Die Konstantendatei wurde seit dem Einlesen von einem anderen Programm geändert:
%1

Dessen Änderungen wurden zusammen mit Ihren übernommen; wo beide dieselbe Konstante geändert haben, gilt Ihre Änderung.</translation>
    </message>
    <message>
        <source>The constants file could not be read, so it was kept aside as:
%1

The constants were saved to a new file:
%2</source>
        <translation>Die Konstantendatei konnte nicht gelesen werden und wurde daher beiseitegelegt als:
%1

Die Konstanten wurden in einer neuen Datei gespeichert:
%2</translation>
    </message>
</context>
<context>
    <name>CNumbrixApp</name>
    <message>
        <source>Numbrix</source>
        <translation>Numbrix</translation>
    </message>
    <message>
        <source>Neither HOME nor XDG_CONFIG_HOME names a folder for the program&apos;s files. The settings and your constants are neither read nor saved in this session.</source>
        <translation>Weder HOME noch XDG_CONFIG_HOME nennt einen Ordner für die Dateien des Programms. Die Einstellungen und Ihre Konstanten werden in dieser Sitzung weder gelesen noch gespeichert.</translation>
    </message>
    <message>
        <source>The constants file cannot be read:
%1

No constants were loaded from it. It is left as it is; if you apply changes in My Constants, it is first kept aside as &quot;Constant.bad&quot;.</source>
        <translation>Die Konstantendatei kann nicht gelesen werden:
%1

Es wurden keine Konstanten daraus geladen. Sie bleibt unverändert; wenn Sie in „Meine Konstanten“ Änderungen anwenden, wird sie zuvor als „Constant.bad“ beiseitegelegt.</translation>
    </message>
    <message>
        <source>1 entry of the constants file was skipped because its name or value is not valid. The file keeps it as it is:
%1</source>
        <translation>1 Eintrag der Konstantendatei wurde übersprungen, weil sein Name oder Wert ungültig ist. Die Datei behält ihn unverändert:
%1</translation>
    </message>
    <message numerus="yes">
        <source>%n entries of the constants file were skipped because their names or values are not valid. The file keeps them as they are:
%1</source>
        <translation>
            <numerusform>%n Eintrag der Konstantendatei wurde übersprungen, weil sein Name oder Wert ungültig ist. Die Datei behält ihn unverändert:
%1</numerusform>
            <numerusform>%n Einträge der Konstantendatei wurden übersprungen, weil ihre Namen oder Werte ungültig sind. Die Datei behält sie unverändert:
%1</numerusform>
        </translation>
    </message>
    <message>
        <source>My Constants</source>
        <translation>Meine Konstanten</translation>
    </message>
</context>
<context>
    <name>CNumbrixDlg</name>
    <message>
        <source>Output</source>
        <translation>Ausgabe</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Stop the computation (Esc)</source>
        <translation>Berechnung abbrechen (Esc)</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Unknown exception !</source>
        <translation>Unbekannter Fehler!</translation>
    </message>
    <message>
        <source>Computing %1 …</source>
        <translation>%1 wird berechnet …</translation>
    </message>
    <message>
        <source>My Constants opens once the computation has ended (Esc stops it).</source>
        <translation>„Meine Konstanten“ öffnet sich erst, wenn die Berechnung beendet ist (Esc bricht sie ab).</translation>
    </message>
</context>
<context>
    <name>CNumbrixMiniDlg</name>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Too Big</source>
        <translation>Zu groß</translation>
    </message>
    <message numerus="yes">
        <source>(%n characters in all; Ctrl+C copies them)</source>
        <translation>
            <numerusform>(%n Zeichen insgesamt; Strg+C kopiert es)</numerusform>
            <numerusform>(%n Zeichen insgesamt; Strg+C kopiert sie)</numerusform>
        </translation>
    </message>
    <message>
        <source>Computing… Esc stops it.</source>
        <translation>Berechnung läuft … Esc bricht sie ab.</translation>
    </message>
    <message>
        <source>Unknown exception !</source>
        <translation>Unbekannter Fehler!</translation>
    </message>
</context>
<context>
    <name>CResultListCtrl</name>
    <message>
        <source>&amp;Result</source>
        <translation>&amp;Ergebnis</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>Wert</translation>
    </message>
    <message>
        <source>Copy &amp;Value</source>
        <translation>&amp;Wert kopieren</translation>
    </message>
    <message>
        <source>Clear &amp;All</source>
        <translation>Alle &amp;entfernen</translation>
    </message>
    <message>
        <source>&amp;Clear Selected</source>
        <translation>Au&amp;sgewählte entfernen</translation>
    </message>
    <message>
        <source>Result &amp;View</source>
        <translation>Ergebnis&amp;ansicht</translation>
    </message>
    <message>
        <source>&amp;Import Variables</source>
        <translation>Variablen &amp;importieren</translation>
    </message>
    <message>
        <source>&amp;Export Variables</source>
        <translation>Variablen e&amp;xportieren</translation>
    </message>
    <message>
        <source>&amp;My Constants</source>
        <translation>&amp;Meine Konstanten</translation>
    </message>
    <message>
        <source>Numbrix Variables Files (*.cvf)</source>
        <translation>Numbrix-Variablendateien (*.cvf)</translation>
    </message>
    <message>
        <source>Export Variables</source>
        <translation>Variablen exportieren</translation>
    </message>
    <message>
        <source>The variables could not be saved to the file:
</source>
        <translation>Die Variablen konnten nicht in der Datei gespeichert werden:
</translation>
    </message>
    <message>
        <source>Import Variables</source>
        <translation>Variablen importieren</translation>
    </message>
    <message>
        <source>The file cannot be read as a variables file:
</source>
        <translation>Die Datei kann nicht als Variablendatei gelesen werden:
</translation>
    </message>
    <message numerus="yes">
        <source>%n entries of the file were skipped because they are not valid variables.</source>
        <translation>
            <numerusform>%n Eintrag der Datei wurde übersprungen, weil er keine gültige Variable ist.</numerusform>
            <numerusform>%n Einträge der Datei wurden übersprungen, weil sie keine gültigen Variablen sind.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>CResultViewDlg</name>
    <message>
        <source>Result View</source>
        <translation>Ergebnisansicht</translation>
    </message>
    <message>
        <source>x = </source>
        <translation>x = </translation>
    </message>
    <message>
        <source>8 bits</source>
        <translation>8 Bit</translation>
    </message>
    <message>
        <source>16 bits</source>
        <translation>16 Bit</translation>
    </message>
    <message>
        <source>32 bits</source>
        <translation>32 Bit</translation>
    </message>
    <message>
        <source>64 bits</source>
        <translation>64 Bit</translation>
    </message>
    <message>
        <source>128 bits</source>
        <translation>128 Bit</translation>
    </message>
    <message>
        <source>Smallest that fits</source>
        <translation>Kleinste passende</translation>
    </message>
    <message>
        <source>Width of the two&apos;s complement of a negative integer</source>
        <translation>Breite des Zweierkomplements einer negativen ganzen Zahl</translation>
    </message>
    <message>
        <source>Dec</source>
        <translation>Dez</translation>
    </message>
    <message>
        <source>Bin</source>
        <translation>Bin</translation>
    </message>
    <message>
        <source>Oct</source>
        <translation>Okt</translation>
    </message>
    <message>
        <source>Hex</source>
        <translation>Hex</translation>
    </message>
    <message>
        <source>Rad</source>
        <translation>Rad</translation>
    </message>
    <message>
        <source>Deg</source>
        <translation>Grad</translation>
    </message>
    <message>
        <source>%1 does not fit in %2 bits</source>
        <translation>%1 passt nicht in %2 Bit</translation>
    </message>
</context>
<context>
    <name>EvaluatorMessages</name>
    <message>
        <source>In the expression &apos;x | y&apos;, x and y MUST be non-negative integers !</source>
        <translation>Im Ausdruck &apos;x | y&apos; müssen x und y nichtnegative ganze Zahlen sein!</translation>
    </message>
    <message>
        <source>In the expression &apos;x $ y&apos;, x and y MUST be non-negative integers !</source>
        <translation>Im Ausdruck &apos;x $ y&apos; müssen x und y nichtnegative ganze Zahlen sein!</translation>
    </message>
    <message>
        <source>In the expression &apos;x &amp;&amp; y&apos;, x and y MUST be non-negative integers !</source>
        <translation>Im Ausdruck &apos;x &amp;&amp; y&apos; müssen x und y nichtnegative ganze Zahlen sein!</translation>
    </message>
    <message>
        <source>In the expression &apos;x &lt;&lt; y&apos;, x and y MUST be non-negative integers !</source>
        <translation>Im Ausdruck &apos;x &lt;&lt; y&apos; müssen x und y nichtnegative ganze Zahlen sein!</translation>
    </message>
    <message>
        <source>In the expression &apos;x &gt;&gt; y&apos;, x and y MUST be non-negative integers and y &gt;= 0 !</source>
        <translation>Im Ausdruck &apos;x &gt;&gt; y&apos; müssen x und y nichtnegative ganze Zahlen sein, mit y &gt;= 0!</translation>
    </message>
    <message>
        <source>In the expression &apos;~x&apos;, x MUST be a non-negative integer !</source>
        <translation>Im Ausdruck &apos;~x&apos; muss x eine nichtnegative ganze Zahl sein!</translation>
    </message>
    <message>
        <source>In the expression &apos;x / y&apos;, y MUST NOT be zero !</source>
        <translation>Im Ausdruck &apos;x / y&apos; darf y nicht null sein!</translation>
    </message>
    <message>
        <source>In the expression &apos;x % y&apos;, y MUST NOT be zero !</source>
        <translation>Im Ausdruck &apos;x % y&apos; darf y nicht null sein!</translation>
    </message>
    <message>
        <source>In the expression &apos;x ^ y&apos;, y MUST be a non-negative value when x equals zero !</source>
        <translation>Im Ausdruck &apos;x ^ y&apos; darf y nicht negativ sein, wenn x gleich null ist!</translation>
    </message>
    <message>
        <source>In the expression &apos;x ^ y&apos;, y MUST be an integer when x is a negative value !</source>
        <translation>Im Ausdruck &apos;x ^ y&apos; muss y eine ganze Zahl sein, wenn x negativ ist!</translation>
    </message>
    <message>
        <source>In the expression &apos;x!&apos;, x MUST be a non-negative integer !</source>
        <translation>Im Ausdruck &apos;x!&apos; muss x eine nichtnegative ganze Zahl sein!</translation>
    </message>
    <message>
        <source>The result or temporary value is too big !</source>
        <translation>Das Ergebnis oder ein Zwischenwert ist zu groß!</translation>
    </message>
    <message>
        <source>The result would have %1 digits, more than the %2 digits allowed !</source>
        <translation>Das Ergebnis hätte %1 Stellen, mehr als die erlaubten %2 Stellen!</translation>
    </message>
    <message>
        <source>The expression is too deeply nested !</source>
        <translation>Der Ausdruck ist zu tief verschachtelt!</translation>
    </message>
    <message>
        <source>Undefined variable: %1</source>
        <translation>Undefinierte Variable: %1</translation>
    </message>
    <message>
        <source>Undefined function: %1</source>
        <translation>Undefinierte Funktion: %1</translation>
    </message>
    <message>
        <source>Expect one parameter for &apos;%1(x)&apos; function !</source>
        <translation>Die Funktion &apos;%1(x)&apos; erwartet einen Parameter!</translation>
    </message>
    <message>
        <source>Expect two parameters for &apos;%1(a, b)&apos; function !</source>
        <translation>Die Funktion &apos;%1(a, b)&apos; erwartet zwei Parameter!</translation>
    </message>
    <message>
        <source>Undefined logarithm value !</source>
        <translation>Der Logarithmus ist hier nicht definiert!</translation>
    </message>
    <message>
        <source>Undefined tangent value !</source>
        <translation>Der Tangens ist hier nicht definiert!</translation>
    </message>
    <message>
        <source>Undefined arcsine value !</source>
        <translation>Der Arkussinus ist hier nicht definiert!</translation>
    </message>
    <message>
        <source>Undefined arccos value !</source>
        <translation>Der Arkuskosinus ist hier nicht definiert!</translation>
    </message>
    <message>
        <source>Undefined  arccos hyperbolic value !</source>
        <translation>Der Areakosinus hyperbolicus ist hier nicht definiert!</translation>
    </message>
    <message>
        <source>Undefined arctangent hyperbolic value !</source>
        <translation>Der Areatangens hyperbolicus ist hier nicht definiert!</translation>
    </message>
    <message>
        <source>Undefined square root value !</source>
        <translation>Die Quadratwurzel ist hier nicht definiert!</translation>
    </message>
    <message>
        <source>The computation was interrupted !</source>
        <translation>Die Berechnung wurde abgebrochen!</translation>
    </message>
    <message>
        <source>Not enough memory or disk space for this computation !</source>
        <translation>Nicht genug Arbeitsspeicher oder Speicherplatz für diese Berechnung!</translation>
    </message>
    <message>
        <source>Unknown exception. Please check the expressions inputted.</source>
        <translation>Unbekannter Fehler. Bitte prüfen Sie die eingegebenen Ausdrücke.</translation>
    </message>
    <message>
        <source>unexpected end of file</source>
        <translation>Unerwartetes Ende der Eingabe</translation>
    </message>
    <message>
        <source>unexpected token: %1</source>
        <translation>Unerwartetes Symbol: %1</translation>
    </message>
    <message>
        <source>unexpected char: %1</source>
        <translation>Unerwartetes Zeichen: %1</translation>
    </message>
    <message>
        <source>expecting anything but %1; got it anyway</source>
        <translation>Alles außer %1 erwartet, aber %1 gefunden</translation>
    </message>
    <message>
        <source>expecting token in range: %1..%2, found %3</source>
        <translation>Symbol im Bereich %1..%2 erwartet, %3 gefunden</translation>
    </message>
    <message>
        <source>expecting token NOT in range: %1..%2, found %3</source>
        <translation>Symbol außerhalb des Bereichs %1..%2 erwartet, %3 gefunden</translation>
    </message>
    <message>
        <source>expecting NOT one of (%1), found %2</source>
        <translation>Keines von (%1) erwartet, %2 gefunden</translation>
    </message>
    <message>
        <source>expecting one of (%1), found %2</source>
        <translation>Eines von (%1) erwartet, %2 gefunden</translation>
    </message>
    <message>
        <source>expecting %1, found %2</source>
        <translation>%1 erwartet, %2 gefunden</translation>
    </message>
</context>
<context>
    <name>NumbrixWindow</name>
    <message>
        <source>Numbrix</source>
        <translation>Numbrix</translation>
    </message>
</context>
<context>
    <name>ReportList</name>
    <message>
        <source>
(%1 characters, %2 digits)</source>
        <translation>
(%1 Zeichen, %2 Ziffern)</translation>
    </message>
</context>
<context>
    <name>SessionHistory</name>
    <message>
        <source>History</source>
        <translation>Verlauf</translation>
    </message>
    <message>
        <source>The history file could not be read and was skipped. It is kept as:
%1</source>
        <translation>Die Verlaufsdatei konnte nicht gelesen werden und wurde übergangen. Sie wird aufbewahrt als:
%1</translation>
    </message>
</context>
<context>
    <name>SettingsDlg</name>
    <message>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Limit values to</source>
        <translation>Werte begrenzen auf</translation>
    </message>
    <message>
        <source>Keep history between sessions</source>
        <translation>Verlauf zwischen Sitzungen behalten</translation>
    </message>
    <message>
        <source>Enter evaluates, Shift+Enter starts a new line</source>
        <translation>Eingabetaste berechnet, Umschalt+Eingabetaste beginnt eine neue Zeile</translation>
    </message>
    <message>
        <source>Answer decimals</source>
        <translation>Nachkommastellen</translation>
    </message>
    <message>
        <source>Value limit</source>
        <translation>Wertgrenze</translation>
    </message>
</context>
<context>
    <name>WindowMenu</name>
    <message>
        <source>&amp;Settings…</source>
        <translation>&amp;Einstellungen …</translation>
    </message>
    <message>
        <source>Always On &amp;Top</source>
        <translation>Immer im &amp;Vordergrund</translation>
    </message>
    <message>
        <source>&amp;Help ...</source>
        <translation>&amp;Hilfe …</translation>
    </message>
    <message>
        <source>&amp;About Numbrix...</source>
        <translation>Ü&amp;ber Numbrix …</translation>
    </message>
    <message>
        <source>Window menu</source>
        <translation>Fenstermenü</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Usage: numbrix [--screenshot FILE [--maximized]
                [--my-constants | --settings | --result-view NAME]]
       numbrix --help | --version

The desktop calculator: type statements in the input, one a line, and
press Ctrl+Enter or OK to evaluate them; F1 opens the manual.

  --screenshot FILE  show the first window, save a picture of it to FILE
                     (the format follows the suffix, such as .png) and end
  --maximized        with --screenshot: maximise the main window first
  --my-constants     with --screenshot: open &quot;My Constants&quot; from the main
                     window and picture that dialog
  --settings         with --screenshot: picture the Settings dialog
  --result-view NAME with --screenshot: picture the result view of the
                     variable NAME (kept from the last session), in binary
  --help             this text
  --version          the program&apos;s version

The program folder holds the settings (&quot;Config&quot;) and the user constants
(&quot;Constant&quot;): $NUMBRIX_HOME when it is set; else the program&apos;s own folder
when it is writable and already holds one of those files (a portable copy);
else $XDG_CONFIG_HOME/numbrix, or ~/.config/numbrix.
</source>
        <translation>Aufruf: numbrix [--screenshot DATEI [--maximized]
                [--my-constants | --settings | --result-view NAME]]
        numbrix --help | --version

Der Desktop-Rechner: Anweisungen in die Eingabe tippen, eine je Zeile, und
mit Strg+Eingabe oder OK berechnen; F1 öffnet das Handbuch.

  --screenshot DATEI das erste Fenster zeigen, ein Bild davon in DATEI
                     speichern (das Format folgt der Endung, etwa .png) und
                     beenden
  --maximized        mit --screenshot: das Hauptfenster zuerst maximieren
  --my-constants     mit --screenshot: „Meine Konstanten“ im Hauptfenster
                     öffnen und diesen Dialog abbilden
  --settings         mit --screenshot: den Einstellungsdialog abbilden
  --result-view NAME mit --screenshot: die Ergebnisansicht der Variablen NAME
                     (aus der letzten Sitzung) abbilden, binär
  --help             dieser Text
  --version          die Version des Programms

Der Programmordner enthält die Einstellungen („Config“) und die eigenen
Konstanten („Constant“): $NUMBRIX_HOME, wenn gesetzt; sonst der eigene Ordner
des Programms, wenn er beschreibbar ist und bereits eine dieser Dateien
enthält (eine portable Kopie); sonst $XDG_CONFIG_HOME/numbrix oder
~/.config/numbrix.
</translation>
    </message>
    <message>
        <source>numbrix: the picture could not be saved to %1
</source>
        <translation>numbrix: Das Bild konnte nicht unter %1 gespeichert werden
</translation>
    </message>
</context>
</TS>
