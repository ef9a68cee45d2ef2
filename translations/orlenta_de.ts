<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>Command</name>
    <message>
        <source>&amp;Add</source>
        <translation>&amp;Hinzufügen</translation>
    </message>
    <message>
        <source>&amp;Remove</source>
        <translation>&amp;Entfernen</translation>
    </message>
    <message>
        <source>Res&amp;can</source>
        <translation>&amp;Neu einlesen</translation>
    </message>
    <message>
        <source>Edit &amp;properties</source>
        <translation>E&amp;igenschaften</translation>
    </message>
    <message>
        <source>&amp;Stop reading</source>
        <translation>Einlesen &amp;anhalten</translation>
    </message>
    <message>
        <source>D&amp;uplicates</source>
        <translation>&amp;Duplikate</translation>
    </message>
    <message>
        <source>&amp;Overlap</source>
        <translation>Über&amp;lappung</translation>
    </message>
    <message>
        <source>&amp;Export...</source>
        <translation>E&amp;xportieren...</translation>
    </message>
    <message>
        <source>&amp;Import file list...</source>
        <translation>Dateiliste &amp;importieren...</translation>
    </message>
    <message>
        <source>&amp;New</source>
        <translation>&amp;Neu</translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <translation>Ö&amp;ffnen...</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Speichern</translation>
    </message>
    <message>
        <source>S&amp;ave As</source>
        <translation>Speichern &amp;unter...</translation>
    </message>
    <message>
        <source>&amp;Properties</source>
        <translation>&amp;Eigenschaften</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>&amp;Über Orlenta</translation>
    </message>
    <message>
        <source>S&amp;earch</source>
        <translation>&amp;Suchen</translation>
    </message>
    <message>
        <source>&amp;Find all</source>
        <translation>Alle &amp;finden</translation>
    </message>
</context>
<context>
    <name>CoreText</name>
    <message>
        <source>Error reading Orlenta datafile.</source>
        <translation>Fehler beim Lesen der Orlenta-Datendatei.</translation>
    </message>
    <message>
        <source>Invalid directory.</source>
        <translation>Ungültiges Verzeichnis.</translation>
    </message>
    <message>
        <source>Interface not supported</source>
        <translation>Schnittstelle wird nicht unterstützt</translation>
    </message>
    <message>
        <source>Compression failed.</source>
        <translation>Komprimierung fehlgeschlagen.</translation>
    </message>
    <message>
        <source>Waiting for another Orlenta...</source>
        <translation>Warte auf ein anderes Orlenta...</translation>
    </message>
    <message>
        <source>Reading disc information...</source>
        <translation>Disc-Informationen werden gelesen...</translation>
    </message>
    <message>
        <source>Made by the Orlenta project</source>
        <translation>Ein Programm des Orlenta-Projekts</translation>
    </message>
    <message>
        <source>More freeware and updates</source>
        <translation>Weitere Freeware und Aktualisierungen</translation>
    </message>
    <message>
        <source>Click here to download the latest version of Orlenta.</source>
        <translation>Hier klicken, um die neueste Version von Orlenta herunterzuladen.</translation>
    </message>
</context>
<context>
    <name>SizeAndDateText</name>
    <message>
        <source>%1 bytes</source>
        <translation>%1 Bytes</translation>
    </message>
</context>
<context>
    <name>SystemItemList</name>
    <message>
        <source>Optical Disc</source>
        <translation>Optisches Medium</translation>
    </message>
    <message>
        <source>Removable Disk</source>
        <translation>Wechseldatenträger</translation>
    </message>
    <message>
        <source>File System</source>
        <translation>Dateisystem</translation>
    </message>
    <message>
        <source>Network Drive</source>
        <translation>Netzlaufwerk</translation>
    </message>
    <message>
        <source>Local Disk</source>
        <translation>Lokaler Datenträger</translation>
    </message>
    <message>
        <source>Computer</source>
        <translation>Computer</translation>
    </message>
</context>
<context>
    <name>UserPrompts</name>
    <message>
        <source>Unknown error</source>
        <translation>Unbekannter Fehler</translation>
    </message>
</context>
<context>
    <name>orlenta::TAddTreeDialogForm</name>
    <message>
        <source>Add Disc</source>
        <translation>Disc hinzufügen</translation>
    </message>
    <message>
        <source>Source</source>
        <translation>Quelle</translation>
    </message>
    <message>
        <source>System item</source>
        <translation>Systemeintrag</translation>
    </message>
    <message>
        <source>Custom directory</source>
        <translation>Eigenes Verzeichnis</translation>
    </message>
    <message>
        <source>Select directory</source>
        <translation>Verzeichnis auswählen</translation>
    </message>
    <message>
        <source>Virtual disc (don&apos;t read info)</source>
        <translation>Virtuelle Disc (nichts einlesen)</translation>
    </message>
    <message>
        <source>Include filenames (larger datafile)</source>
        <translation>Dateinamen aufnehmen (größere Datendatei)</translation>
    </message>
    <message>
        <source>Record sizes and dates</source>
        <translation>Größen und Datumsangaben aufnehmen</translation>
    </message>
    <message>
        <source>Look inside archives</source>
        <translation>In Archive hineinsehen</translation>
    </message>
    <message>
        <source>Disc</source>
        <translation>Disc</translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation>&amp;Hinzufügen</translation>
    </message>
</context>
<context>
    <name>orlenta::TDiscCommands</name>
    <message>
        <source>No disc selected.</source>
        <translation>Keine Disc ausgewählt.</translation>
    </message>
    <message>
        <source>Remove &apos;%1&apos; from Orlenta?</source>
        <translation>„%1“ aus Orlenta entfernen?</translation>
    </message>
    <message>
        <source>Select the directory to read &apos;%1&apos; from</source>
        <translation>Verzeichnis auswählen, aus dem „%1“ gelesen wird</translation>
    </message>
    <message>
        <source>Nothing changed: &apos;%1&apos; is up to date.</source>
        <translation>Nichts geändert: „%1“ ist aktuell.</translation>
    </message>
    <message>
        <source>Apply the new reading of &apos;%1&apos; all the same? What the disc held is then gone from the catalogue.</source>
        <translation>Das neue Einlesen von „%1“ trotzdem übernehmen? Was die Disc enthielt, ist dann aus dem Katalog verschwunden.</translation>
    </message>
</context>
<context>
    <name>orlenta::TDiscDialogForm</name>
    <message>
        <source>Disc properties</source>
        <translation>Disc-Eigenschaften</translation>
    </message>
</context>
<context>
    <name>orlenta::TDiscInfoDockingForm</name>
    <message>
        <source>Title</source>
        <translation>Titel</translation>
    </message>
    <message>
        <source>Creation date</source>
        <translation>Erstellungsdatum</translation>
    </message>
    <message>
        <source>Vendor</source>
        <translation>Hersteller</translation>
    </message>
    <message>
        <source>Read date</source>
        <translation>Eingelesen am</translation>
    </message>
    <message>
        <source>Media type</source>
        <translation>Medientyp</translation>
    </message>
    <message>
        <source>Directories</source>
        <translation>Verzeichnisse</translation>
    </message>
    <message>
        <source>Files</source>
        <translation>Dateien</translation>
    </message>
    <message>
        <source>Total size</source>
        <translation>Gesamtgröße</translation>
    </message>
    <message>
        <source>In archives</source>
        <translation>In Archiven</translation>
    </message>
    <message>
        <source>Entries in archives</source>
        <translation>Einträge in Archiven</translation>
    </message>
    <message>
        <source>Source</source>
        <translation>Quelle</translation>
    </message>
    <message>
        <source>Memo</source>
        <translation>Notiz</translation>
    </message>
</context>
<context>
    <name>orlenta::TDuplicateGroupModel</name>
    <message>
        <source>%1 (by name)</source>
        <translation>%1 (nach Name)</translation>
    </message>
    <message>
        <source>Name / path</source>
        <translation>Name / Pfad</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Größe</translation>
    </message>
    <message>
        <source>Copies</source>
        <translation>Kopien</translation>
    </message>
    <message>
        <source>Wasted</source>
        <translation>Verschwendet</translation>
    </message>
    <message>
        <source>Disc</source>
        <translation>Disc</translation>
    </message>
</context>
<context>
    <name>orlenta::TDuplicatesCommands</name>
    <message>
        <source>Duplicates</source>
        <translation>Duplikate</translation>
    </message>
    <message>
        <source>No disc selected.</source>
        <translation>Keine Disc ausgewählt.</translation>
    </message>
</context>
<context>
    <name>orlenta::TDuplicatesPanel</name>
    <message>
        <source>Duplicates</source>
        <translation>Duplikate</translation>
    </message>
    <message>
        <source>&amp;Minimum size (bytes)</source>
        <translation>&amp;Mindestgröße (Bytes)</translation>
    </message>
    <message>
        <source>Minimum size in bytes</source>
        <translation>Mindestgröße in Bytes</translation>
    </message>
    <message>
        <source>Files with a recorded size below it are left out; empty files always are</source>
        <translation>Dateien mit einer kleineren aufgenommenen Größe werden ausgelassen, leere Dateien immer</translation>
    </message>
    <message>
        <source>Duplicate files</source>
        <translation>Doppelte Dateien</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <source>Duplicates status</source>
        <translation>Status der Duplikatsuche</translation>
    </message>
    <message>
        <source>Looking for duplicates...</source>
        <translation>Duplikate werden gesucht...</translation>
    </message>
    <message>
        <source>No duplicates</source>
        <translation>Keine Duplikate</translation>
    </message>
    <message>
        <source>1 group</source>
        <translation>1 Gruppe</translation>
    </message>
    <message>
        <source>%1 groups</source>
        <translation>%1 Gruppen</translation>
    </message>
    <message>
        <source>, %1 wasted</source>
        <translation>, %1 verschwendet</translation>
    </message>
    <message>
        <source>%1%2 in %3 ms</source>
        <translation>%1%2 in %3 ms</translation>
    </message>
</context>
<context>
    <name>orlenta::TEasterEggsForm</name>
    <message>
        <source>Addresses</source>
        <translation>Adressen</translation>
    </message>
    <message>
        <source>Update</source>
        <translation>Aktualisierung</translation>
    </message>
    <message>
        <source>Maker</source>
        <translation>Hersteller</translation>
    </message>
    <message>
        <source>Photograph of %1</source>
        <translation>Foto von %1</translation>
    </message>
</context>
<context>
    <name>orlenta::TExchangeCommands</name>
    <message>
        <source>Export</source>
        <translation>Exportieren</translation>
    </message>
    <message>
        <source>CSV files (*.csv)</source>
        <translation>CSV-Dateien (*.csv)</translation>
    </message>
    <message>
        <source>JSON files (*.json)</source>
        <translation>JSON-Dateien (*.json)</translation>
    </message>
    <message>
        <source>Web pages (*.html *.htm)</source>
        <translation>Webseiten (*.html *.htm)</translation>
    </message>
    <message>
        <source>Import file list</source>
        <translation>Dateiliste importieren</translation>
    </message>
    <message>
        <source>File lists (*.csv *.txt *.lst);;All files (*)</source>
        <translation>Dateilisten (*.csv *.txt *.lst);;Alle Dateien (*)</translation>
    </message>
</context>
<context>
    <name>orlenta::TExportDialogForm</name>
    <message>
        <source>Export</source>
        <translation>Exportieren</translation>
    </message>
    <message>
        <source>&amp;Whole catalogue</source>
        <translation>&amp;Gesamter Katalog</translation>
    </message>
    <message>
        <source>Whole catalogue</source>
        <translation>Gesamter Katalog</translation>
    </message>
    <message>
        <source>&amp;Selected disc</source>
        <translation>Ausgewählte &amp;Disc</translation>
    </message>
    <message>
        <source>Selected disc</source>
        <translation>Ausgewählte Disc</translation>
    </message>
    <message>
        <source>&amp;Format</source>
        <translation>&amp;Format</translation>
    </message>
    <message>
        <source>Format</source>
        <translation>Format</translation>
    </message>
    <message>
        <source>CSV (a row per directory and file)</source>
        <translation>CSV (eine Zeile je Verzeichnis und Datei)</translation>
    </message>
    <message>
        <source>Web page (HTML)</source>
        <translation>Webseite (HTML)</translation>
    </message>
    <message>
        <source>For s&amp;preadsheets: no value may become a formula</source>
        <translation>Für &amp;Tabellenkalkulationen: kein Wert wird zur Formel</translation>
    </message>
    <message>
        <source>For spreadsheets</source>
        <translation>Für Tabellenkalkulationen</translation>
    </message>
    <message>
        <source>Puts an apostrophe before values that begin with =, +, -, @, a tab, a carriage return or an apostrophe</source>
        <translation>Setzt einen Apostroph vor Werte, die mit =, +, -, @, einem Tabulator, einem Wagenrücklauf oder einem Apostroph beginnen</translation>
    </message>
</context>
<context>
    <name>orlenta::TFileCommands</name>
    <message>
        <source>Orlenta datafiles (*.olx *.OLX)</source>
        <translation>Orlenta-Datendateien (*.olx *.OLX)</translation>
    </message>
    <message>
        <source>Orlenta datafile has changed.
Do you want to save this file first?</source>
        <translation>Die Orlenta-Datendatei wurde geändert.
Möchten Sie die Datei zuerst speichern?</translation>
    </message>
    <message>
        <source>Open Orlenta datafile</source>
        <translation>Orlenta-Datendatei öffnen</translation>
    </message>
    <message>
        <source>Save Orlenta datafile</source>
        <translation>Orlenta-Datendatei speichern</translation>
    </message>
</context>
<context>
    <name>orlenta::TFileTableModel</name>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Größe</translation>
    </message>
    <message>
        <source>Modified</source>
        <translation>Geändert</translation>
    </message>
    <message>
        <source>1 file</source>
        <translation>1 Datei</translation>
    </message>
    <message>
        <source>%1 files</source>
        <translation>%1 Dateien</translation>
    </message>
</context>
<context>
    <name>orlenta::TFindAllPanel</name>
    <message>
        <source>Find in %1</source>
        <translation>Suchen in: %1</translation>
    </message>
    <message>
        <source>Find all</source>
        <translation>Alle finden</translation>
    </message>
    <message>
        <source>&amp;Find</source>
        <translation>&amp;Suchen</translation>
    </message>
    <message>
        <source>Find</source>
        <translation>Suchen</translation>
    </message>
    <message>
        <source>Part of a name, or a pattern such as *.pdf</source>
        <translation>Teil eines Namens oder ein Muster wie *.pdf</translation>
    </message>
    <message>
        <source>Words such as size:&gt;10M, size:&lt;700k, modified:&gt;2020-01-01 or modified:&lt;2021-06 keep the hits whose recorded size (k, M, G, T: units of 1024) or modification date (local time) passes them</source>
        <extracomment>The words size: and modified: are typed as they stand in every language.</extracomment>
        <translation>Wörter wie size:&gt;10M, size:&lt;700k, modified:&gt;2020-01-01 oder modified:&lt;2021-06 behalten die Treffer, deren aufgenommene Größe (k, M, G, T: Einheiten von 1024) oder Änderungsdatum (Ortszeit) sie erfüllt</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Leeren</translation>
    </message>
    <message>
        <source>Hits</source>
        <translation>Treffer</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <source>No hits</source>
        <translation>Keine Treffer</translation>
    </message>
    <message>
        <source>1 hit</source>
        <translation>1 Treffer</translation>
    </message>
    <message>
        <source>%1 hits</source>
        <translation>%1 Treffer</translation>
    </message>
    <message>
        <source>. No sizes or dates are recorded in this catalogue.</source>
        <translation>. In diesem Katalog sind keine Größen oder Datumsangaben aufgenommen.</translation>
    </message>
    <message>
        <source>. No sizes or dates are recorded for the names found.</source>
        <translation>. Für die gefundenen Namen sind keine Größen oder Datumsangaben aufgenommen.</translation>
    </message>
    <message>
        <source>%1 in %2 ms</source>
        <translation>%1 in %2 ms</translation>
    </message>
    <message>
        <source> (pattern)</source>
        <translation> (Muster)</translation>
    </message>
</context>
<context>
    <name>orlenta::TFindHitModel</name>
    <message>
        <source>Title</source>
        <translation>Titel</translation>
    </message>
    <message>
        <source>Vendor</source>
        <translation>Hersteller</translation>
    </message>
    <message>
        <source>Memo</source>
        <translation>Notiz</translation>
    </message>
    <message>
        <source>Directory name</source>
        <translation>Verzeichnisname</translation>
    </message>
    <message>
        <source>Filename</source>
        <translation>Dateiname</translation>
    </message>
    <message>
        <source>Disc</source>
        <translation>Disc</translation>
    </message>
    <message>
        <source>Path</source>
        <translation>Pfad</translation>
    </message>
    <message>
        <source>Field</source>
        <translation>Feld</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Größe</translation>
    </message>
    <message>
        <source>Modified</source>
        <translation>Geändert</translation>
    </message>
</context>
<context>
    <name>orlenta::TInfoDialogForm</name>
    <message>
        <source>Index properties</source>
        <translation>Katalogeigenschaften</translation>
    </message>
    <message>
        <source>Title</source>
        <translation>Titel</translation>
    </message>
    <message>
        <source>Memo</source>
        <translation>Notiz</translation>
    </message>
</context>
<context>
    <name>orlenta::TMainForm</name>
    <message>
        <source>Orlenta - Browse or share your CD and DVD archive</source>
        <translation>Orlenta - Ihr CD- und DVD-Archiv durchsuchen oder weitergeben</translation>
    </message>
    <message>
        <source>Building tree...</source>
        <translation>Baum wird aufgebaut...</translation>
    </message>
    <message>
        <source>Sorting tree...</source>
        <translation>Baum wird sortiert...</translation>
    </message>
    <message>
        <source>Processing...</source>
        <translation>Wird verarbeitet...</translation>
    </message>
    <message>
        <source>Find all</source>
        <translation>Alle finden</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Disc</source>
        <translation>D&amp;isc</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>Ü&amp;ber</translation>
    </message>
    <message>
        <source>Tools</source>
        <translation>Werkzeuge</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>Discs and directories</source>
        <translation>Discs und Verzeichnisse</translation>
    </message>
    <message>
        <source>Files</source>
        <translation>Dateien</translation>
    </message>
</context>
<context>
    <name>orlenta::TOverlapDialog</name>
    <message>
        <source>Overlap of %1</source>
        <translation>Überlappung von %1</translation>
    </message>
    <message>
        <source>&lt;b&gt;%1&lt;/b&gt;: %2 files, %3. %4</source>
        <translation>&lt;b&gt;%1&lt;/b&gt;: %2 Dateien, %3. %4</translation>
    </message>
    <message>
        <source>&lt;b&gt;%1&lt;/b&gt;: %2 files. %3</source>
        <translation>&lt;b&gt;%1&lt;/b&gt;: %2 Dateien. %3</translation>
    </message>
    <message>
        <source>Overlap summary</source>
        <translation>Zusammenfassung der Überlappung</translation>
    </message>
    <message>
        <source>Overlap with other discs</source>
        <translation>Überlappung mit anderen Discs</translation>
    </message>
    <message>
        <source>Disc</source>
        <translation>Disc</translation>
    </message>
    <message>
        <source>Title</source>
        <translation>Titel</translation>
    </message>
    <message>
        <source>Files found</source>
        <translation>Gefundene Dateien</translation>
    </message>
    <message>
        <source>Bytes found</source>
        <translation>Gefundene Bytes</translation>
    </message>
    <message>
        <source>Share of files</source>
        <translation>Anteil der Dateien</translation>
    </message>
    <message>
        <source>Share of bytes</source>
        <translation>Anteil der Bytes</translation>
    </message>
    <message>
        <source>All other discs</source>
        <translation>Alle anderen Discs</translation>
    </message>
    <message>
        <source>Found in %1 ms</source>
        <translation>Gefunden in %1 ms</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>The disc holds no files.</source>
        <translation>Die Disc enthält keine Dateien.</translation>
    </message>
    <message>
        <source>%1 of its files are on other discs.</source>
        <translation>%1 ihrer Dateien liegen auf anderen Discs.</translation>
    </message>
    <message>
        <source>%1 of its files (%2 of its bytes) are on other discs.</source>
        <translation>%1 ihrer Dateien (%2 ihrer Bytes) liegen auf anderen Discs.</translation>
    </message>
</context>
<context>
    <name>orlenta::TOwnDialog</name>
    <message>
        <source>&amp;Ok</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
</context>
<context>
    <name>orlenta::TReadingDiscForm</name>
    <message>
        <source>Reading disc information...</source>
        <translation>Disc-Informationen werden gelesen...</translation>
    </message>
    <message>
        <source>1 archive could not be read whole</source>
        <translation>1 Archiv nicht vollständig lesbar</translation>
    </message>
    <message>
        <source>%1 archives could not be read whole</source>
        <translation>%1 Archive nicht vollständig lesbar</translation>
    </message>
    <message>
        <source>1 folder could not be read</source>
        <translation>1 Ordner konnte nicht gelesen werden</translation>
    </message>
    <message>
        <source>%1 folders could not be read</source>
        <translation>%1 Ordner konnten nicht gelesen werden</translation>
    </message>
</context>
<context>
    <name>orlenta::TRescanChangesForm</name>
    <message>
        <source>%1 added, %2 removed, %3 changed</source>
        <translation>%1 hinzugekommen, %2 entfernt, %3 geändert</translation>
    </message>
    <message>
        <source>Rescan disc</source>
        <translation>Disc neu einlesen</translation>
    </message>
    <message>
        <source>&apos;%1&apos; read again from %2</source>
        <translation>„%1“ neu eingelesen aus %2</translation>
    </message>
    <message>
        <source>Changes</source>
        <translation>Änderungen</translation>
    </message>
    <message>
        <source>Added</source>
        <translation>Hinzugekommen</translation>
    </message>
    <message>
        <source>Removed</source>
        <translation>Entfernt</translation>
    </message>
    <message>
        <source>Changed</source>
        <translation>Geändert</translation>
    </message>
    <message>
        <source>Apply puts the new reading in place of the disc&apos;s directories and files. Its title, vendor, media type, creation date and memo stay.</source>
        <translation>Übernehmen ersetzt die Verzeichnisse und Dateien der Disc durch das neue Einlesen. Titel, Hersteller, Medientyp, Erstellungsdatum und Notiz bleiben erhalten.</translation>
    </message>
    <message>
        <source>&amp;Apply</source>
        <translation>&amp;Übernehmen</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
</context>
<context>
    <name>orlenta::TSearchCommands</name>
    <message>
        <source>Search done</source>
        <translation>Suche beendet</translation>
    </message>
    <message>
        <source>Keyword found in disc %1
Continue search?</source>
        <translation>Suchbegriff gefunden in Disc %1
Suche fortsetzen?</translation>
    </message>
</context>
<context>
    <name>orlenta::TSearchDialogForm</name>
    <message>
        <source>Search</source>
        <translation>Suchen</translation>
    </message>
    <message>
        <source>Search for</source>
        <translation>Suchen nach</translation>
    </message>
    <message>
        <source>Search in</source>
        <translation>Suchen in</translation>
    </message>
    <message>
        <source>&amp;Search</source>
        <translation>&amp;Suchen</translation>
    </message>
</context>
<context>
    <name>orlenta::TfrmAbout</name>
    <message>
        <source>About</source>
        <translation>Über Orlenta</translation>
    </message>
    <message>
        <source>About box</source>
        <translation>Infofenster</translation>
    </message>
    <message>
        <source>Product and version</source>
        <translation>Produkt und Version</translation>
    </message>
    <message>
        <source>Line above the notice</source>
        <translation>Linie über dem Hinweis</translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Writes a mail to the maker</source>
        <translation>Schreibt dem Hersteller eine E-Mail</translation>
    </message>
    <message>
        <source>Opens the maker&apos;s web site</source>
        <translation>Öffnet die Website des Herstellers</translation>
    </message>
    <message>
        <source>Opens the maker&apos;s software page</source>
        <translation>Öffnet die Software-Seite des Herstellers</translation>
    </message>
</context>
</TS>
