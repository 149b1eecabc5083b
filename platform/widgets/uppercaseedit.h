#pragma once

// An edit box whose input is upper case, the way the Windows edit control
// does it for Turkish text: "i" becomes "İ" and "ı" becomes "I".

#include <QLineEdit>

namespace qv {

// Upper case of a text with the Turkish dotted and dotless i.
QString turkishUpper(const QString &text);

class UpperCaseEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit UpperCaseEdit(QWidget *parent = nullptr);

private:
    // Typing, pasting and input methods all end here, so one place is enough.
    void onTextEdited(const QString &text);
};

} // namespace qv
