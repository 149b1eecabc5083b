#pragma once

// An edit box whose input is upper case, the way the Windows edit control
// does it: by the plain character table, not the Turkish rule, so a dealer
// who types "bayi1" gets "BAYI1" (the names are registered that way) and
// "ı" becomes "I" too; "ş", "ğ", "ü", "ö", "ç" get their capitals.

#include <QLineEdit>

namespace qv {

// Upper case of typed text, as the edit control makes it.
QString editUpper(const QString &text);

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
