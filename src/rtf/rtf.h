#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace mindlark::rtf {

// Writes `text` as the small rich-edit document every store file holds. A plain
// ASCII value comes out as exactly three CR LF terminated lines:
//   {\rtf1\fbidis\ansi\ansicpg1252\deff0{\fonttbl{\f0\fnil\fcharset0 MS Sans Serif;}}
//   \viewkind4\uc1\pard\ltrpar\lang10241\f0\fs17 <text>
//   \par }
// Other characters become escapes that read() turns back into the same text: a CR LF
// pair a paragraph mark, a tab \tab, backslash and braces \\ \{ \}, and everything
// outside printable ASCII (lone CR and LF included) a \uN? per UTF-16 code unit.
QByteArray write(const QString& text);

// The outcome of reading a document: its plain text, or why it could not be read.
struct ReadResult {
    bool ok = false;
    QString text;   // the plain text when ok
    QString error;  // a short reason when not ok ("unbalanced braces", ...)
};

// Reads an RTF document, as write() or a Windows rich-edit control writes it, and
// returns its plain text: paragraph breaks inside the text become CR LF, the
// document's final paragraph mark adds nothing; \'hh bytes are decoded in the code
// page of their font (\fcharset, \cpg) or of the document (\ansicpg). Never crashes,
// hangs or recurses on hostile input; memory stays proportional to the input size.
// Refuses documents over 16 MiB ("document too large", so a value must stay under
// about 1.8 million characters to be read back) and groups nested over 1000 deep.
ReadResult read(QByteArrayView document);

}  // namespace mindlark::rtf
