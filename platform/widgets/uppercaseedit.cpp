#include "uppercaseedit.h"

namespace qv {

QString editUpper(const QString &text)
{
    return text.toUpper(); // locale-free: "i" -> "I", "ı" (U+0131) -> "I"
}

UpperCaseEdit::UpperCaseEdit(QWidget *parent)
    : QLineEdit(parent)
{
    connect(this, &QLineEdit::textEdited, this, &UpperCaseEdit::onTextEdited);
}

void UpperCaseEdit::onTextEdited(const QString &text)
{
    const QString upper = editUpper(text);
    if (upper == text)
        return;
    // A few letters ("ß") grow when upper-cased; keep the cursor behind the same input.
    const int fromEnd = int(text.size()) - cursorPosition();
    setText(upper);
    setCursorPosition(std::max(0, int(upper.size()) - fromEnd));
}

} // namespace qv
