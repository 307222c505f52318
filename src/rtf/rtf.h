#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

namespace mindlark::rtf {

// The largest document, in bytes, that read() takes and that a store file may be.
// The writer and the reader share it: a value whose written document is larger
// (see fitsInDocument) could be saved but never read back, so whoever saves values
// typed by a player must refuse those first, and a store may refuse any file over
// this size unread. 1 MiB: about a million plain characters, and never fewer
// than 116,000 characters of any kind.
inline constexpr qsizetype kMaxDocumentSize = qsizetype(1) << 20;

// Writes `text` as the small rich-edit document every store file holds. A plain
// ASCII value comes out as exactly three CR LF terminated lines:
//   {\rtf1\fbidis\ansi\ansicpg1252\deff0{\fonttbl{\f0\fnil\fcharset0 MS Sans Serif;}}
//   \viewkind4\uc1\pard\ltrpar\lang10241\f0\fs17 <text>
//   \par }
// Other characters become escapes that read() turns back into the same text: a CR LF
// pair a paragraph mark, a tab \tab, backslash and braces \\ \{ \}, and everything
// outside printable ASCII (lone CR and LF included) a \uN? per UTF-16 code unit.
// Writes any text; read() refuses the result when it is over kMaxDocumentSize.
QByteArray write(const QString& text);

// The size in bytes of write(text), found without building the document.
qsizetype writtenSize(const QString& text);

// Whether write(text) is small enough for read() to take, so the value can be
// saved and read back: writtenSize(text) <= kMaxDocumentSize.
bool fitsInDocument(const QString& text);

// The outcome of reading a document: its plain text, or why it could not be read.
struct ReadResult {
    bool ok = false;
    QString text;   // the plain text when ok
    QString error;  // a short reason when not ok ("not an RTF document", ...)
};

// Reads an RTF document, as write() or a Windows rich-edit control writes it, and
// returns its plain text: paragraph breaks inside the text become CR LF, the
// document's final paragraph mark adds nothing; \'hh bytes are decoded in the code
// page of their font (\fcharset, \cpg) or of the document (\ansicpg). Reading stops at
// the brace that closes the document; whatever follows it is ignored. Never crashes,
// hangs or recurses on hostile input; memory stays proportional to the input size.
// Refuses documents over kMaxDocumentSize ("document too large") and groups nested
// over 100,000 deep. The writer's own documents take a fast path (readOwnForm).
ReadResult read(QByteArrayView document);

// The text of a document exactly in the form write() gives, or nothing for any
// other document, even an equivalent one. Where it gives a text, readGeneral()
// gives the same one.
std::optional<QString> readOwnForm(QByteArrayView document);

// read() without the fast path: the general parser, for any document.
ReadResult readGeneral(QByteArrayView document);

}  // namespace mindlark::rtf
