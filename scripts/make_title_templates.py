#!/usr/bin/env python3
"""Writes the title-page templates data/strtyt.docx and data/strtyt.odt.

Each placeholder "{{Field}}" is replaced by kovra with the estimate's data; a user may edit the
templates in any word processor (a placeholder split into several runs is still found)."""
import os
import sys
import zipfile
from xml.sax.saxutils import escape

LINES = [
    ("title", "{{TytułKosztorysu}}"),
    ("big", "{{NazwaKosztorysu}}"),
    ("", ""),
    ("", "Inwestor: {{Inwestor}}"),
    ("", "Obiekt: {{Obiekt}}"),
    ("", "Budowa: {{Budowa}}"),
    ("", "Kod CPV: {{CPV}}"),
    ("", "Specyfikacja techniczna: {{SST}}"),
    ("", ""),
    ("", "Stawka robocizny: {{StawkaRG}} {{CennikRG}}"),
    ("", "Cennik materiałów: {{CennikMat}}"),
    ("", "Cennik sprzętu: {{CennikS}}"),
    ("", "Cennik: {{CennikI}}"),
    ("", "{{Narzuty}}"),
    ("", "Koszty zakupu: {{KosztyZakupu}}"),
    ("", "Koszty pośrednie: {{KosztyPośrednie}}"),
    ("", "Zysk: {{Zysk}}"),
    ("", "Czynny zakład: {{CzynnyZakład}}"),
    ("", "Warunki szkodliwe: {{WarunkiSzkodliwe}}"),
] + [("", "{{Narzut%d_Nazwa}} {{Narzut%d_Wartość}}" % (i, i)) for i in range(1, 6)] + [
    ("", "Narzut GW: {{NarzutGW}}"),
    ("", "VAT: {{NarzutVAT}}"),
    ("", ""),
    ("", "Wartość kosztorysowa netto: {{KwotaNetto}}"),
    ("", "Podatek VAT: {{KwotaVAT}}"),
    ("", "Wartość kosztorysowa brutto: {{KwotaBrutto}}"),
    ("", "Słownie: {{KwotaSłownie}}"),
    ("", ""),
    ("", "Sporządził: {{Autor}}"),
    ("", "{{Autorzy}}"),
    ("", "Data: {{Data}}"),
    ("", "{{Kod}}{{CennikU}}"),
]

W = 'xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main"'


def docx(path):
    paras = []
    for style, text in LINES:
        props = ""
        if style:
            size = 40 if style == "title" else 32
            props = '<w:pPr><w:jc w:val="center"/></w:pPr>'
            rpr = '<w:rPr><w:b/><w:sz w:val="%d"/></w:rPr>' % size
        else:
            rpr = ""
        paras.append('<w:p>%s<w:r>%s<w:t xml:space="preserve">%s</w:t></w:r></w:p>' % (props, rpr, escape(text)))
    document = ('<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n<w:document %s><w:body>%s'
                '<w:sectPr><w:pgSz w:w="11906" w:h="16838"/><w:pgMar w:top="1417" w:right="1417" '
                'w:bottom="1417" w:left="1417" w:header="708" w:footer="708" w:gutter="0"/></w:sectPr>'
                '</w:body></w:document>') % (W, "".join(paras))
    types = ('<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
             '<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">'
             '<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>'
             '<Default Extension="xml" ContentType="application/xml"/>'
             '<Override PartName="/word/document.xml" ContentType="application/'
             'vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml"/></Types>')
    rels = ('<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
            '<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
            '<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/'
            'relationships/officeDocument" Target="word/document.xml"/></Relationships>')
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as z:
        z.writestr("[Content_Types].xml", types)
        z.writestr("_rels/.rels", rels)
        z.writestr("word/document.xml", document)


def odt(path):
    ns = ('xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" '
          'xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0" '
          'xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0" '
          'xmlns:fo="urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0" office:version="1.2"')
    paras = []
    for style, text in LINES:
        name = {"title": "Tytul", "big": "Nazwa"}.get(style, "Standard")
        paras.append('<text:p text:style-name="%s">%s</text:p>' % (name, escape(text)))
    content = ('<?xml version="1.0" encoding="UTF-8"?>\n<office:document-content %s>'
               '<office:automatic-styles>'
               '<style:style style:name="Tytul" style:family="paragraph"><style:paragraph-properties fo:text-align="center"/>'
               '<style:text-properties fo:font-size="20pt" fo:font-weight="bold"/></style:style>'
               '<style:style style:name="Nazwa" style:family="paragraph"><style:paragraph-properties fo:text-align="center"/>'
               '<style:text-properties fo:font-size="16pt" fo:font-weight="bold"/></style:style>'
               '</office:automatic-styles><office:body><office:text>%s</office:text></office:body>'
               '</office:document-content>') % (ns, "".join(paras))
    manifest = ('<?xml version="1.0" encoding="UTF-8"?>\n'
                '<manifest:manifest xmlns:manifest="urn:oasis:names:tc:opendocument:xmlns:manifest:1.0" manifest:version="1.2">'
                '<manifest:file-entry manifest:full-path="/" manifest:media-type="application/vnd.oasis.opendocument.text"/>'
                '<manifest:file-entry manifest:full-path="content.xml" manifest:media-type="text/xml"/>'
                '</manifest:manifest>')
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as z:
        z.writestr(zipfile.ZipInfo("mimetype"), "application/vnd.oasis.opendocument.text", zipfile.ZIP_STORED)
        z.writestr("content.xml", content)
        z.writestr("META-INF/manifest.xml", manifest)


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "data")
    docx(os.path.join(folder, "strtyt.docx"))
    odt(os.path.join(folder, "strtyt.odt"))


if __name__ == "__main__":
    main()
