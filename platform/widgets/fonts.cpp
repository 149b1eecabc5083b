#include "fonts.h"

#include <QFont>
#include <QFontDatabase>
#include <QStringList>

namespace qv {

void installFontSubstitutes()
{
    const auto substitute = [](const QString &family, const QStringList &candidates) {
        // Only when the real font is missing: a Windows machine keeps its own.
        if (QFontDatabase::hasFamily(family))
            return;
        QFont::insertSubstitutions(family, candidates);
    };
    // Tahoma is narrower than DejaVu Sans; the condensed cut is closer in width.
    substitute(QStringLiteral("Tahoma"),
               {QStringLiteral("DejaVu Sans Condensed"),
                QStringLiteral("DejaVu Sans"),
                QStringLiteral("Liberation Sans")});
    substitute(QStringLiteral("Arial"), {QStringLiteral("Liberation Sans")});
    substitute(QStringLiteral("MS Sans Serif"), {QStringLiteral("Liberation Sans")});
    substitute(QStringLiteral("Courier New"), {QStringLiteral("Liberation Mono")});
}

} // namespace qv
