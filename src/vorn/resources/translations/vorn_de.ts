<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>Accessibility</name>
    <message>
        <source>Drawing editor</source>
        <translation>Zeichnungseditor</translation>
    </message>
    <message>
        <source>Drawing</source>
        <translation>Zeichnung</translation>
    </message>
    <message>
        <source>Layers</source>
        <translation>Ebenen</translation>
    </message>
    <message>
        <source>hidden</source>
        <translation>ausgeblendet</translation>
    </message>
    <message>
        <source>locked</source>
        <translation>gesperrt</translation>
    </message>
</context>
<context>
    <name>IMGGraphic</name>
    <message>
        <source>IMG Image</source>
        <translation>IMG-Bild</translation>
    </message>
    <message>
        <source>Input file is not valid</source>
        <translation>Die Eingabedatei ist ungültig</translation>
    </message>
    <message>
        <source>Input bitmap needs to be 1 bit as pixelformat</source>
        <translation>Die Eingabe-Bitmap muss das Pixelformat 1 Bit haben</translation>
    </message>
</context>
<context>
    <name>KxDEBitmap</name>
    <message>
        <source>Not enough memory for a bitmap of %1 x %2 pixels</source>
        <translation>Nicht genug Speicher für eine Bitmap von %1 x %2 Pixeln</translation>
    </message>
</context>
<context>
    <name>KxDEResStrs</name>
    <message>
        <source>Unknown graphic file (%s)<byte value="xd"/>
%s</source>
        <translation>Unbekannte Grafikdatei (%s)<byte value="xd"/>
%s</translation>
    </message>
    <message>
        <source>Owner layer</source>
        <translation>Besitzende Ebene</translation>
    </message>
    <message>
        <source>Visible</source>
        <translation>Sichtbar</translation>
    </message>
    <message>
        <source>Printing allowed</source>
        <translation>Drucken erlaubt</translation>
    </message>
    <message>
        <source>JScript name</source>
        <translation>JScript-Name</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Typ</translation>
    </message>
    <message>
        <source>Invisible</source>
        <translation>Unsichtbar</translation>
    </message>
    <message>
        <source>Summary</source>
        <translation>Zusammenfassung</translation>
    </message>
    <message>
        <source>Clipboard cannot be opened, try again</source>
        <translation>Die Zwischenablage kann nicht geöffnet werden, bitte erneut versuchen</translation>
    </message>
    <message>
        <source>Invalid clipboard format</source>
        <translation>Ungültiges Format in der Zwischenablage</translation>
    </message>
    <message>
        <source>Font &quot;%s&quot; was substituted with font &quot;%s&quot;</source>
        <translation>Die Schriftart „%s“ wurde durch „%s“ ersetzt</translation>
    </message>
    <message>
        <source>Group</source>
        <translation>Gruppe</translation>
    </message>
    <message>
        <source>Layer</source>
        <translation>Ebene</translation>
    </message>
    <message>
        <source>Layer - </source>
        <translation>Ebene - </translation>
    </message>
    <message>
        <source>Shape - </source>
        <translation>Form - </translation>
    </message>
    <message>
        <source>System error. Code: %d.<byte value="xd"/>
%s</source>
        <translation>Systemfehler. Code: %d.<byte value="xd"/>
%s</translation>
    </message>
    <message>
        <source>A call to an OS function failed</source>
        <translation>Ein Aufruf einer Betriebssystemfunktion ist fehlgeschlagen</translation>
    </message>
    <message>
        <source>Overflow: size given by parameter is greater as result can hold</source>
        <translation>Überlauf: Die angegebene Größe übersteigt, was das Ergebnis aufnehmen kann</translation>
    </message>
</context>
<context>
    <name>KxDeRegister</name>
    <message>
        <source>Rectangle</source>
        <translation>Rechteck</translation>
    </message>
    <message>
        <source>A rectangle with optionally rounded corners</source>
        <translation>Ein Rechteck, wahlweise mit abgerundeten Ecken</translation>
    </message>
    <message>
        <source>Ellipse</source>
        <translation>Ellipse</translation>
    </message>
    <message>
        <source>An ellipse or a circle</source>
        <translation>Eine Ellipse oder ein Kreis</translation>
    </message>
    <message>
        <source>Line</source>
        <translation>Linie</translation>
    </message>
    <message>
        <source>A straight line with optional arrow heads</source>
        <translation>Eine gerade Linie, wahlweise mit Pfeilspitzen</translation>
    </message>
    <message>
        <source>Polyline</source>
        <translation>Linienzug</translation>
    </message>
    <message>
        <source>Connected straight or curved segments</source>
        <translation>Verbundene gerade oder gekrümmte Abschnitte</translation>
    </message>
    <message>
        <source>Polygon</source>
        <translation>Vieleck</translation>
    </message>
    <message>
        <source>A closed figure of straight or curved sides</source>
        <translation>Eine geschlossene Figur mit geraden oder gekrümmten Seiten</translation>
    </message>
    <message>
        <source>Free-hand line</source>
        <translation>Freihandlinie</translation>
    </message>
    <message>
        <source>A line drawn by hand</source>
        <translation>Eine von Hand gezeichnete Linie</translation>
    </message>
    <message>
        <source>Text</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>Text in a box, aligned and wrapped</source>
        <translation>Text in einem Rahmen, ausgerichtet und umbrochen</translation>
    </message>
    <message>
        <source>Picture</source>
        <translation>Bild</translation>
    </message>
    <message>
        <source>An image or a vector drawing</source>
        <translation>Ein Bild oder eine Vektorzeichnung</translation>
    </message>
    <message>
        <source>Barcode</source>
        <translation>Strichcode</translation>
    </message>
    <message>
        <source>A linear or two-dimensional barcode</source>
        <translation>Ein linearer oder zweidimensionaler Strichcode</translation>
    </message>
</context>
<context>
    <name>KxDeShapeBase</name>
    <message>
        <source>True</source>
        <translation>Ja</translation>
    </message>
    <message>
        <source>False</source>
        <translation>Nein</translation>
    </message>
</context>
<context>
    <name>MekInspector</name>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>Wert</translation>
    </message>
    <message>
        <source>Click to modify</source>
        <translation>Zum Ändern klicken</translation>
    </message>
    <message>
        <source>Miscellaneous</source>
        <translation>Verschiedenes</translation>
    </message>
    <message>
        <source>List capacity out of bounds (%d)</source>
        <translation>Listenkapazität außerhalb des gültigen Bereichs (%d)</translation>
    </message>
    <message>
        <source>Index %d out of range</source>
        <translation>Index %d außerhalb des gültigen Bereichs</translation>
    </message>
</context>
<context>
    <name>PropertyCategory</name>
    <message>
        <source>Advanced</source>
        <translation>Erweitert</translation>
    </message>
    <message>
        <source>Appearance</source>
        <translation>Darstellung</translation>
    </message>
    <message>
        <source>Arrow</source>
        <translation>Pfeil</translation>
    </message>
    <message>
        <source>Barcode</source>
        <translation>Strichcode</translation>
    </message>
    <message>
        <source>Behavior</source>
        <translation>Verhalten</translation>
    </message>
    <message>
        <source>Brush</source>
        <translation>Füllung</translation>
    </message>
    <message>
        <source>Colors</source>
        <translation>Farben</translation>
    </message>
    <message>
        <source>Correction</source>
        <translation>Korrektur</translation>
    </message>
    <message>
        <source>Display</source>
        <translation>Anzeige</translation>
    </message>
    <message>
        <source>Editing</source>
        <translation>Bearbeitung</translation>
    </message>
    <message>
        <source>Font</source>
        <translation>Schrift</translation>
    </message>
    <message>
        <source>Geometry</source>
        <translation>Geometrie</translation>
    </message>
    <message>
        <source>Gradient</source>
        <translation>Verlauf</translation>
    </message>
    <message>
        <source>Identity</source>
        <translation>Identität</translation>
    </message>
    <message>
        <source>Layout</source>
        <translation>Anordnung</translation>
    </message>
    <message>
        <source>Line ends</source>
        <translation>Linienenden</translation>
    </message>
    <message>
        <source>Pen</source>
        <translation>Stift</translation>
    </message>
    <message>
        <source>Picture</source>
        <translation>Bild</translation>
    </message>
    <message>
        <source>Position</source>
        <translation>Position</translation>
    </message>
    <message>
        <source>Text</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>Tolerances</source>
        <translation>Toleranzen</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Open picture</source>
        <translation>Bild öffnen</translation>
    </message>
</context>
<context>
    <name>vorn::TKxDeEditorActions</name>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Select all</source>
        <translation>Alles auswählen</translation>
    </message>
    <message>
        <source>Group</source>
        <translation>Gruppieren</translation>
    </message>
    <message>
        <source>Ungroup</source>
        <translation>Gruppierung aufheben</translation>
    </message>
    <message>
        <source>Pack</source>
        <translation>Verpacken</translation>
    </message>
    <message>
        <source>Unpack</source>
        <translation>Entpacken</translation>
    </message>
    <message>
        <source>Bring to front</source>
        <translation>In den Vordergrund</translation>
    </message>
    <message>
        <source>Bring forward</source>
        <translation>Eine Ebene nach vorne</translation>
    </message>
    <message>
        <source>Send backward</source>
        <translation>Eine Ebene nach hinten</translation>
    </message>
    <message>
        <source>Send to back</source>
        <translation>In den Hintergrund</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Rückgängig</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Wiederholen</translation>
    </message>
    <message>
        <source>Nudge left</source>
        <translation>Nach links schieben</translation>
    </message>
    <message>
        <source>Nudge right</source>
        <translation>Nach rechts schieben</translation>
    </message>
    <message>
        <source>Nudge up</source>
        <translation>Nach oben schieben</translation>
    </message>
    <message>
        <source>Nudge down</source>
        <translation>Nach unten schieben</translation>
    </message>
    <message>
        <source>Align left</source>
        <translation>Links ausrichten</translation>
    </message>
    <message>
        <source>Align centre</source>
        <translation>Horizontal zentrieren</translation>
    </message>
    <message>
        <source>Align right</source>
        <translation>Rechts ausrichten</translation>
    </message>
    <message>
        <source>Align top</source>
        <translation>Oben ausrichten</translation>
    </message>
    <message>
        <source>Align middle</source>
        <translation>Vertikal zentrieren</translation>
    </message>
    <message>
        <source>Align bottom</source>
        <translation>Unten ausrichten</translation>
    </message>
    <message>
        <source>Distribute centres horizontally</source>
        <translation>Mitten horizontal verteilen</translation>
    </message>
    <message>
        <source>Distribute centres vertically</source>
        <translation>Mitten vertikal verteilen</translation>
    </message>
    <message>
        <source>Equal gaps horizontally</source>
        <translation>Gleiche Abstände horizontal</translation>
    </message>
    <message>
        <source>Equal gaps vertically</source>
        <translation>Gleiche Abstände vertikal</translation>
    </message>
    <message>
        <source>Relative to first selected</source>
        <translation>Relativ zum zuerst Ausgewählten</translation>
    </message>
    <message>
        <source>Relative to last selected</source>
        <translation>Relativ zum zuletzt Ausgewählten</translation>
    </message>
    <message>
        <source>Relative to page</source>
        <translation>Relativ zur Seite</translation>
    </message>
    <message>
        <source>Zoom in</source>
        <translation>Vergrößern</translation>
    </message>
    <message>
        <source>Zoom out</source>
        <translation>Verkleinern</translation>
    </message>
    <message>
        <source>Actual size</source>
        <translation>Originalgröße</translation>
    </message>
    <message>
        <source>Fit page</source>
        <translation>Ganze Seite</translation>
    </message>
    <message>
        <source>Fit selection</source>
        <translation>Auswahl einpassen</translation>
    </message>
</context>
<context>
    <name>vorn::TKxDeRuler</name>
    <message>
        <source>Document orientation</source>
        <translation>Ausrichtung des Dokuments</translation>
    </message>
    <message>
        <source>Portrait</source>
        <translation>Hochformat</translation>
    </message>
    <message>
        <source>This is the &apos;standard&apos; orientation, dimensions are taken as is.</source>
        <translation>Dies ist die &apos;normale&apos; Ausrichtung, die Maße werden unverändert übernommen.</translation>
    </message>
    <message>
        <source>Landscape</source>
        <translation>Querformat</translation>
    </message>
    <message>
        <source>Dimensions are inverted.</source>
        <translation>Breite und Höhe sind vertauscht.</translation>
    </message>
    <message>
        <source>Note:</source>
        <translation>Hinweis:</translation>
    </message>
    <message>
        <source>By clicking on the icon, the document will be shown alternatively in portrait or landscape. This orientation does not change the print result.</source>
        <translation>Ein Klick auf das Symbol zeigt das Dokument abwechselnd im Hoch- oder Querformat. Diese Ausrichtung ändert den Ausdruck nicht.</translation>
    </message>
    <message>
        <source>Each time you click on the icon, a rotation of 90 degrees will be applied to the document and its content.</source>
        <translation>Jeder Klick auf das Symbol dreht das Dokument und seinen Inhalt um 90 Grad.</translation>
    </message>
    <message>
        <source>The content of the document will not be rotated if the CTRL key is pressed while clicking.</source>
        <translation>Mit gedrückter STRG-Taste wird der Inhalt des Dokuments nicht gedreht.</translation>
    </message>
</context>
<context>
    <name>vorn::TmekBrushDialog</name>
    <message>
        <source>Brush</source>
        <translation>Füllung</translation>
    </message>
    <message>
        <source>Colour</source>
        <translation>Farbe</translation>
    </message>
    <message>
        <source>Style</source>
        <translation>Stil</translation>
    </message>
</context>
<context>
    <name>vorn::TmekPenDialog</name>
    <message>
        <source>Pen</source>
        <translation>Stift</translation>
    </message>
    <message>
        <source>Colour</source>
        <translation>Farbe</translation>
    </message>
    <message>
        <source>Style</source>
        <translation>Stil</translation>
    </message>
    <message>
        <source>Width</source>
        <translation>Breite</translation>
    </message>
    <message>
        <source>Mode</source>
        <translation>Modus</translation>
    </message>
</context>
</TS>
