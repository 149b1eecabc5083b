#include "uppercaseedit.h"

namespace qv {

QString turkishUpper(const QString &text)
{
    QString s = text;
    s.replace(QChar(u'i'), QChar(u'\u0130'));
    return s.toUpper(); // "ı" (U+0131) has "I" as its upper case already
}

UpperCaseEdit::UpperCaseEdit(QWidget *parent)
    : QLineEdit(parent)
{
    connect(this, &QLineEdit::textEdited, this, &UpperCaseEdit::onTextEdited);
}

void UpperCaseEdit::onTextEdited(const QString &text)
{
    const QString upper = turkishUpper(text);
    if (upper == text)
        return;
    // A few letters ("ß") grow when upper-cased; keep the cursor behind the same input.
    const int fromEnd = int(text.size()) - cursorPosition();
    setText(upper);
    setCursorPosition(std::max(0, int(upper.size()) - fromEnd));
}

} // namespace qv
