#!/usr/bin/env python3
"""Writes samples/brochure.idml, the project's own sample document.

A three-page travel brochure laid out on facing pages: a master spread with a running footer,
a first spread with page 1 alone and a second spread with pages 2 and 3. Its stories cover what a
translation round trip has to carry: a heading, a story threaded over two frames on different
pages, a bold run, tabs, forced line breaks (U+2028), non-ASCII text, characters that the tagged
file escapes, a footnote, a table, a page number marker on the master and a frame on the
pasteboard.

Only the standard library is used, and the output is the same byte for byte on every run
(fixed entry times), so that the committed package only changes when this script does.

    python3 samples/make_sample_idml.py [OUTPUT]
"""

import os
import sys
import zipfile
from xml.sax.saxutils import escape, quoteattr

DOM = "16.0"
PKG_NS = "http://ns.adobe.com/AdobeInDesign/idml/1.0/packaging"
XML_DECL = '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
ENTRY_TIME = (2024, 5, 6, 9, 30, 0)

# US Letter pages, facing: odd pages right of the spine, even pages left of it. Page items are
# given in spread coordinates (points, y down) with the spine at x = 0 and the page centred on
# y = 0, as the layout program writes them.
PAGE_W = 612
PAGE_H = 792
LAYER = "ub3"
TEXT_FRAME_STYLE = "ObjectStyle/$ID/[Normal Text Frame]"
NO_CHAR_STYLE = "CharacterStyle/$ID/[No character style]"
BODY = "ParagraphStyle/Body"
HEADING = "ParagraphStyle/Heading"
FOOTER = "ParagraphStyle/Footer"
TABLE_TEXT = "ParagraphStyle/Table text"
LINE_SEP = "\u2028"


# --- Story content -----------------------------------------------------------------------------
# A paragraph is (style, runs); a run is (attributes, items); an item is text, BR (paragraph
# end), a processing instruction ("?ACE 18"), or a nested element given as raw XML.

BR = object()


def pi(code):
    return ("pi", code)


def raw(make):
    """A nested element; make(indent) gives its XML at that indentation."""
    return ("raw", make)


def render_items(items, indent):
    out = []
    text = []

    def flush():
        if text:
            out.append(indent + "<Content>" + "".join(text) + "</Content>\n")
            text.clear()

    for item in items:
        if item is BR:
            flush()
            out.append(indent + "<Br />\n")
        elif isinstance(item, tuple) and item[0] == "pi":
            text.append("<?ACE %d?>" % item[1])
        elif isinstance(item, tuple) and item[0] == "raw":
            flush()
            out.append(item[1](indent))
        else:
            text.append(escape(item))
    flush()
    return "".join(out)


def render_runs(runs, indent):
    out = []
    for attrs, items in runs:
        attr_text = "".join(" %s=%s" % (k, quoteattr(v)) for k, v in attrs)
        out.append('%s<CharacterStyleRange AppliedCharacterStyle="%s"%s>\n'
                   % (indent, NO_CHAR_STYLE, attr_text))
        out.append(render_items(items, indent + "\t"))
        out.append(indent + "</CharacterStyleRange>\n")
    return "".join(out)


def render_paragraphs(paragraphs, indent):
    out = []
    for style, runs in paragraphs:
        out.append('%s<ParagraphStyleRange AppliedParagraphStyle="%s">\n' % (indent, style))
        out.append(render_runs(runs, indent + "\t"))
        out.append(indent + "</ParagraphStyleRange>\n")
    return "".join(out)


def plain(*items):
    return [((), list(items))]


def story_xml(self_id, paragraphs):
    body = render_paragraphs(paragraphs, "\t\t")
    return (XML_DECL
            + '<idPkg:Story xmlns:idPkg="%s" DOMVersion="%s">\n' % (PKG_NS, DOM)
            + '\t<Story Self="%s" AppliedTOCStyle="n" UserText="true" IsEndnoteStory="false" '
              'TrackChanges="false" StoryTitle="$ID/" AppliedNamedGrid="n">\n' % self_id
            + '\t\t<StoryPreference OpticalMarginAlignment="false" OpticalMarginSize="12" '
              'FrameType="TextFrameType" StoryOrientation="Horizontal" '
              'StoryDirection="LeftToRightDirection" />\n'
            + '\t\t<InCopyExportOption IncludeGraphicProxies="true" IncludeAllResources="false" />\n'
            + body
            + "\t</Story>\n</idPkg:Story>\n")


def footnote(text):
    def make(indent):
        inner = render_paragraphs([(BODY, plain(pi(4), "\t" + text))], indent + "\t")
        return indent + "<Footnote>\n" + inner + indent + "</Footnote>\n"
    return raw(make)


def table(self_id, rows, widths):
    """A table whose first row is a header row; rows are lists of cell texts."""
    return raw(lambda ind: table_xml(ind, self_id, rows, widths))


def table_xml(ind, self_id, rows, widths):
    out = ['%s<Table Self="%s" HeaderRowCount="1" FooterRowCount="0" BodyRowCount="%d" '
           'ColumnCount="%d" AppliedTableStyle="TableStyle/$ID/[Basic Table]" '
           'TableDirection="LeftToRightDirection">\n'
           % (ind, self_id, len(rows) - 1, len(widths))]
    for r in range(len(rows)):
        out.append('%s\t<Row Self="%sRow%d" Name="%d" SingleRowHeight="20" MinimumHeight="12" />\n'
                   % (ind, self_id, r, r))
    for c, width in enumerate(widths):
        out.append('%s\t<Column Self="%sColumn%d" Name="%d" SingleColumnWidth="%d" />\n'
                   % (ind, self_id, c, c, width))
    cell = 0
    for r, row in enumerate(rows):
        for c in range(len(widths)):
            out.append('%s\t<Cell Self="%si%x" Name="%d:%d" RowSpan="1" ColumnSpan="1" '
                       'CellType="TextTypeCell" AppliedCellStyle="CellStyle/$ID/[None]" '
                       'AppliedCellStylePriority="0">\n' % (ind, self_id, cell, c, r))
            attrs = (("FontStyle", "Bold"),) if r == 0 else ()
            out.append(render_paragraphs([(TABLE_TEXT, [(attrs, [row[c]])])], ind + "\t\t"))
            out.append(ind + "\t</Cell>\n")
            cell += 1
    out.append(ind + "</Table>\n")
    return "".join(out)


STORIES = [
    ("u1c2", [(FOOTER, plain("Alpine Travel \u00b7 Summer 2024 \u00b7 ", pi(18)))]),
    ("u1d6", [(HEADING, plain("Summer in the Alps"))]),
    ("u1e4", [
        (BODY, [((), ["Our mountain guides have prepared "]),
                ((("FontStyle", "Bold"),), ["three new routes"]),
                ((), [" for this season.", BR])]),
        (BODY, plain("From the lakes of Lucerne to the glaciers above Zermatt, every tour "
                     "starts at 8:00 and ends before dusk. Trains leave Z\u00fcrich every hour; "
                     "the caf\u00e9 at the station opens at 6:30.", BR)),
        (BODY, plain("Alpine Travel Ltd." + LINE_SEP + "Bahnhofstrasse 12" + LINE_SEP
                     + "CH-8001 Z\u00fcrich", BR)),
        (BODY, plain("Book early \u2014 places are limited!")),
    ]),
    ("u1f3", [
        (BODY, plain("Prices per person", BR)),
        (BODY, plain("Day pass\tCHF 45", BR)),
        (BODY, plain("Week pass\tCHF 210", BR)),
        (BODY, plain("Kids < 12 years\tfree")),
    ]),
    ("u205", [
        (BODY, [((), ["All tours include a picnic lunch"]),
                ((("Position", "Superscript"),), [footnote("Vegetarian meals on request.")]),
                ((), [" and mountain railway tickets."])]),
    ]),
    ("u21a", [
        (BODY, [((), ["Tours at a glance", BR,
                      table("u21ai3", [["Tour", "Duration"], ["Lake walk", "3 h"],
                                       ["Glacier trail", "6 h"], ["Summit & back", "8 h"]],
                            [180, 90])])]),
    ]),
    ("u22c", [(BODY, plain("Designer note: replace the photo on page 2 before printing."))]),
]
BACKING_STORY = "ua9"


# --- Layout ------------------------------------------------------------------------------------

def rect_frame(self_id, story, left, top, width, height, prev="n", nxt="n"):
    """A rectangular text frame; anchors are centred on the frame, the transform moves them."""
    hw, hh = width / 2, height / 2
    cx, cy = left + hw, top + hh
    points = [(-hw, -hh), (-hw, hh), (hw, hh), (hw, -hh)]
    anchors = "".join(
        '\t\t\t\t\t\t\t<PathPointType Anchor="%s" LeftDirection="%s" RightDirection="%s" />\n'
        % ((num(x) + " " + num(y),) * 3) for x, y in points)
    return (
        '\t\t<TextFrame Self="%s" ParentStory="%s" PreviousTextFrame="%s" NextTextFrame="%s" '
        'ContentType="TextType" ItemLayer="%s" Locked="false" AppliedObjectStyle="%s" '
        'Visible="true" Name="$ID/" ItemTransform="1 0 0 1 %s %s">\n'
        % (self_id, story, prev, nxt, LAYER, TEXT_FRAME_STYLE, num(cx), num(cy))
        + "\t\t\t<Properties>\n\t\t\t\t<PathGeometry>\n"
        + '\t\t\t\t\t<GeometryPathType PathOpen="false">\n\t\t\t\t\t\t<PathPointArray>\n'
        + anchors
        + "\t\t\t\t\t\t</PathPointArray>\n\t\t\t\t\t</GeometryPathType>\n"
        + "\t\t\t\t</PathGeometry>\n\t\t\t</Properties>\n"
        + '\t\t\t<TextFramePreference TextColumnCount="1" TextColumnFixedWidth="%s" '
          'TextColumnMaxWidth="0" />\n' % num(width)
        + "\t\t</TextFrame>\n")


def num(value):
    return ("%d" % value) if value == int(value) else repr(value)


def page_xml(self_id, name, left, master, tag):
    applied = master if master else "n"
    return (
        '\t\t<%s Self="%s" Name="%s" AppliedMaster="%s" OverrideList="" '
        'GeometricBounds="0 0 %d %d" ItemTransform="1 0 0 1 %d %d" '
        'MasterPageTransform="1 0 0 1 0 0" TabOrder="" GridStartingPoint="TopOutside" '
        'UseMasterGrid="true">\n' % (tag, self_id, name, applied, PAGE_H, PAGE_W, left,
                                    -PAGE_H // 2)
        + '\t\t\t<MarginPreference ColumnCount="1" ColumnGutter="12" Top="36" Bottom="36" '
          'Left="36" Right="36" ColumnDirection="Horizontal" ColumnsPositions="0 %d" />\n'
          % (PAGE_W - 72)
        + "\t\t</%s>\n" % tag)


def spread_file(kind, self_id, transform_y, binding, pages, frames, extra_attrs=""):
    body = "".join(pages) + "".join(frames)
    return (XML_DECL
            + '<idPkg:%s xmlns:idPkg="%s" DOMVersion="%s">\n' % (kind, PKG_NS, DOM)
            + '\t<%s Self="%s" ItemTransform="1 0 0 1 0 %d" ShowMasterItems="true" '
              'PageCount="%d" BindingLocation="%d"%s>\n'
              % (kind, self_id, transform_y, len(pages), binding, extra_attrs)
            + body
            + "\t</%s>\n</idPkg:%s>\n" % (kind, kind))


TOP = -PAGE_H // 2  # y of a page's top edge in spread coordinates

MASTER_SPREAD = spread_file(
    "MasterSpread", "uc8", 0, 1,
    [page_xml("ucd", "A", -PAGE_W, None, "Page"), page_xml("uce", "A", 0, None, "Page")],
    [rect_frame("u1c8", "u1c2", 36, TOP + 740, PAGE_W - 72, 24)],
    ' Name="A-Master" NamePrefix="A" BaseName="Master" PrimaryTextFrame="n"')

SPREAD_1 = spread_file(
    "Spread", "ud4", 0, 0,
    [page_xml("ud9", "1", 0, "uc8", "Page")],
    [rect_frame("u1dc", "u1d6", 36, TOP + 36, PAGE_W - 72, 60),
     rect_frame("u1ea", "u1e4", 36, TOP + 120, 260, 300, nxt="u1ec"),
     rect_frame("u1f9", "u1f3", 316, TOP + 100, 260, 160)])

SPREAD_2 = spread_file(
    "Spread", "ue0", PAGE_H + 36, 1,
    [page_xml("ue5", "2", -PAGE_W, "uc8", "Page"), page_xml("ue6", "3", 0, "uc8", "Page")],
    [rect_frame("u1ec", "u1e4", -PAGE_W + 36, TOP + 36, 260, 400, prev="u1ea"),
     rect_frame("u20b", "u205", -PAGE_W + 316, TOP + 36, 260, 200),
     rect_frame("u220", "u21a", 36, TOP + 36, PAGE_W - 72, 240),
     rect_frame("u232", "u22c", -PAGE_W - 220, TOP + 200, 160, 90)])


# --- Package parts -----------------------------------------------------------------------------

def wrap(kind, body):
    return (XML_DECL + '<idPkg:%s xmlns:idPkg="%s" DOMVersion="%s">\n' % (kind, PKG_NS, DOM)
            + body + "</idPkg:%s>\n" % kind)


CONTAINER = (XML_DECL
             + '<container version="1.0" xmlns="urn:oasis:names:tc:opendocument:xmlns:container">\n'
             '\t<rootfiles>\n\t\t<rootfile full-path="designmap.xml" media-type="text/xml">\n'
             "\t\t</rootfile>\n\t</rootfiles>\n</container>\n")

METADATA = (XML_DECL
            + '<x:xmpmeta xmlns:x="adobe:ns:meta/">\n'
            '\t<rdf:RDF xmlns:rdf="http://www.w3.org/1999/02/22-rdf-syntax-ns#">\n'
            '\t\t<rdf:Description rdf:about="" xmlns:dc="http://purl.org/dc/elements/1.1/" '
            'xmlns:xmp="http://ns.adobe.com/xap/1.0/">\n'
            "\t\t\t<dc:format>application/x-indesign</dc:format>\n"
            "\t\t\t<xmp:CreatorTool>storyport make_sample_idml.py</xmp:CreatorTool>\n"
            "\t\t\t<xmp:CreateDate>2024-05-06T09:30:00+02:00</xmp:CreateDate>\n"
            "\t\t</rdf:Description>\n\t</rdf:RDF>\n</x:xmpmeta>\n")

GRAPHIC = wrap("Graphic", "".join(
    '\t<Color Self="Color/%s" Model="%s" Space="%s" ColorValue="%s" ColorOverride="%s" '
    'Name="%s" ColorEditable="%s" ColorRemovable="false" Visible="true" />\n' % c for c in [
        ("Black", "Process", "CMYK", "0 0 0 100", "Specialblack", "Black", "false"),
        ("Paper", "Process", "CMYK", "0 0 0 0", "Specialpaper", "Paper", "true"),
        ("Registration", "Registration", "CMYK", "100 100 100 100", "Specialregistration",
         "Registration", "false"),
        ("Alpine Blue", "Process", "CMYK", "90 45 0 10", "Normal", "Alpine Blue", "true"),
    ]) + '\t<Swatch Self="Swatch/None" Name="None" ColorEditable="false" ColorRemovable="false" '
         'Visible="true" />\n'
       + '\t<StrokeStyle Self="StrokeStyle/$ID/Solid" Name="$ID/Solid" />\n')

FONTS = wrap("Fonts", "".join(
    '\t<FontFamily Self="%s" Name="%s">\n' % (fid, family)
    + "".join('\t\t<Font Self="%sFontn%s %s" FontFamily="%s" Name="%s %s" PostScriptName="%s-%s" '
              'Status="Installed" FontStyleName="%s" FontType="OpenTypeCFF" WritingScript="0" />\n'
              % (fid, family, style, family, family, style, family.replace(" ", ""), style, style)
              for style in ("Regular", "Bold"))
    + "\t</FontFamily>\n" for fid, family in (("di3f", "Minion Pro"), ("di40", "Myriad Pro"))))


def paragraph_style(name, font, size, extra=""):
    return ('\t\t<ParagraphStyle Self="ParagraphStyle/%s" Name="%s" Imported="false" '
            'PointSize="%d"%s>\n\t\t\t<Properties>\n'
            '\t\t\t\t<BasedOn type="string">$ID/[No paragraph style]</BasedOn>\n'
            '\t\t\t\t<AppliedFont type="string">%s</AppliedFont>\n'
            "\t\t\t</Properties>\n\t\t</ParagraphStyle>\n" % (name, name, size, extra, font))


STYLES = wrap("Styles", (
    '\t<RootCharacterStyleGroup Self="u78">\n'
    '\t\t<CharacterStyle Self="%s" Imported="false" Name="$ID/[No character style]" />\n'
    "\t</RootCharacterStyleGroup>\n" % NO_CHAR_STYLE
    + '\t<RootParagraphStyleGroup Self="u77">\n'
    '\t\t<ParagraphStyle Self="ParagraphStyle/$ID/[No paragraph style]" '
    'Name="$ID/[No paragraph style]" Imported="false" PointSize="12" />\n'
    '\t\t<ParagraphStyle Self="ParagraphStyle/$ID/NormalParagraphStyle" '
    'Name="$ID/NormalParagraphStyle" Imported="false" />\n'
    + paragraph_style("Heading", "Myriad Pro", 36, ' FontStyle="Bold" FillColor="Color/Alpine Blue"')
    + paragraph_style("Body", "Minion Pro", 11, ' SpaceAfter="6"')
    + paragraph_style("Footer", "Myriad Pro", 8, ' Justification="CenterAlign"')
    + paragraph_style("Table text", "Myriad Pro", 10)
    + "\t</RootParagraphStyleGroup>\n"
    '\t<RootCellStyleGroup Self="u87">\n'
    '\t\t<CellStyle Self="CellStyle/$ID/[None]" AppliedParagraphStyle="ParagraphStyle/$ID/[No '
    'paragraph style]" Name="$ID/[None]" />\n\t</RootCellStyleGroup>\n'
    '\t<RootTableStyleGroup Self="u89">\n'
    '\t\t<TableStyle Self="TableStyle/$ID/[No table style]" Name="$ID/[No table style]" />\n'
    '\t\t<TableStyle Self="TableStyle/$ID/[Basic Table]" Name="$ID/[Basic Table]" />\n'
    "\t</RootTableStyleGroup>\n"
    '\t<RootObjectStyleGroup Self="u92">\n'
    '\t\t<ObjectStyle Self="ObjectStyle/$ID/[None]" Name="$ID/[None]" />\n'
    '\t\t<ObjectStyle Self="%s" Name="$ID/[Normal Text Frame]" />\n'
    "\t</RootObjectStyleGroup>\n" % TEXT_FRAME_STYLE))

PREFERENCES = wrap("Preferences", (
    '\t<DocumentPreference PageHeight="%d" PageWidth="%d" PagesPerDocument="3" '
    'FacingPages="true" DocumentBleedTopOffset="9" DocumentBleedBottomOffset="9" '
    'DocumentBleedInsideOrLeftOffset="9" DocumentBleedOutsideOrRightOffset="9" '
    'DocumentBleedUniformSize="true" AllowPageShuffle="true" Intent="PrintIntent" '
    'PageBinding="LeftToRight" ColumnDirection="Horizontal" MasterTextFrame="false" />\n'
    % (PAGE_H, PAGE_W)
    + '\t<MarginPreference ColumnCount="1" ColumnGutter="12" Top="36" Bottom="36" Left="36" '
      'Right="36" ColumnDirection="Horizontal" ColumnsPositions="0 %d" />\n' % (PAGE_W - 72)
    + '\t<TextDefault AppliedParagraphStyle="ParagraphStyle/$ID/NormalParagraphStyle" '
      'AppliedCharacterStyle="%s" />\n' % NO_CHAR_STYLE
    + '\t<StoryPreference OpticalMarginAlignment="false" OpticalMarginSize="12" '
      'FrameType="TextFrameType" StoryOrientation="Horizontal" '
      'StoryDirection="LeftToRightDirection" />\n'))

TAGS = wrap("Tags", '\t<XMLTag Self="XMLTag/Root" Name="Root" />\n')

BACKING = wrap("BackingStory", (
    '\t<XmlStory Self="%s" AppliedTOCStyle="n" UserText="true" TrackChanges="false" '
    'StoryTitle="$ID/" AppliedNamedGrid="n">\n' % BACKING_STORY
    + render_paragraphs([("ParagraphStyle/$ID/NormalParagraphStyle",
                          [((), [raw(lambda ind: ind + '<XMLElement Self="di2" MarkupTag="XMLTag/Root" />\n'),
                                 "\ufeff"])])], "\t\t")
    + "\t</XmlStory>\n"))


def designmap():
    story_ids = [sid for sid, _ in STORIES]
    return (XML_DECL
            + '<?aid style="50" type="document" readerVersion="6.0" featureSet="257" '
              'product="16.0(32)" ?>\n'
            + '<Document xmlns:idPkg="%s" DOMVersion="%s" Self="d" StoryList="%s" '
              'Name="brochure.idml" ZeroPoint="0 0" ActiveLayer="%s" '
              'CMYKProfile="Coated FOGRA39 (ISO 12647-2:2004)" RGBProfile="sRGB IEC61966-2.1">\n'
              % (PKG_NS, DOM, " ".join(story_ids + [BACKING_STORY]), LAYER)
            + '\t<Language Self="Language/$ID/English%3a USA" Name="$ID/English: USA" '
              'PrimaryLanguageName="$ID/English" SublanguageName="$ID/USA" Id="269" />\n'
            + '\t<idPkg:Graphic src="Resources/Graphic.xml" />\n'
            + '\t<idPkg:Fonts src="Resources/Fonts.xml" />\n'
            + '\t<idPkg:Styles src="Resources/Styles.xml" />\n'
            + '\t<idPkg:Preferences src="Resources/Preferences.xml" />\n'
            + '\t<idPkg:Tags src="XML/Tags.xml" />\n'
            + '\t<Layer Self="%s" Name="Layer 1" Visible="true" Locked="false" '
              'IgnoreWrap="false" ShowGuides="true" LockGuides="false" UI="true" '
              'Expendable="true" Printable="true" />\n' % LAYER
            + '\t<idPkg:MasterSpread src="MasterSpreads/MasterSpread_uc8.xml" />\n'
            + '\t<idPkg:Spread src="Spreads/Spread_ud4.xml" />\n'
            + '\t<idPkg:Spread src="Spreads/Spread_ue0.xml" />\n'
            + '\t<Section Self="udb" Length="3" Name="" ContinueNumbering="false" '
              'IncludeSectionPrefix="false" PageNumberStyle="Arabic" PageStart="ud9" '
              'PageNumberStart="1" SectionPrefix="" Marker="" />\n'
            + '\t<idPkg:BackingStory src="XML/BackingStory.xml" />\n'
            + "".join('\t<idPkg:Story src="Stories/Story_%s.xml" />\n' % sid
                      for sid in reversed(story_ids))
            + "</Document>\n")


def entries():
    yield "mimetype", "application/vnd.adobe.indesign-idml-package"
    yield "designmap.xml", designmap()
    yield "META-INF/container.xml", CONTAINER
    yield "META-INF/metadata.xml", METADATA
    yield "Resources/Graphic.xml", GRAPHIC
    yield "Resources/Fonts.xml", FONTS
    yield "Resources/Styles.xml", STYLES
    yield "Resources/Preferences.xml", PREFERENCES
    yield "XML/Tags.xml", TAGS
    yield "MasterSpreads/MasterSpread_uc8.xml", MASTER_SPREAD
    yield "Spreads/Spread_ud4.xml", SPREAD_1
    yield "Spreads/Spread_ue0.xml", SPREAD_2
    yield "XML/BackingStory.xml", BACKING
    for sid, paragraphs in reversed(STORIES):
        yield "Stories/Story_%s.xml" % sid, story_xml(sid, paragraphs)


def write_package(path):
    tmp = path + ".tmp"
    with zipfile.ZipFile(tmp, "w") as package:
        for name, text in entries():
            info = zipfile.ZipInfo(name, date_time=ENTRY_TIME)
            info.create_system = 0
            info.external_attr = 0x20  # the archive bit, as the layout program sets it
            # The package type must be readable at a fixed offset: first entry, stored.
            info.compress_type = zipfile.ZIP_STORED if name == "mimetype" else zipfile.ZIP_DEFLATED
            package.writestr(info, text.encode("utf-8"), compresslevel=9)
    os.replace(tmp, path)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "brochure.idml")
    write_package(out)
    print(out)


if __name__ == "__main__":
    main()
