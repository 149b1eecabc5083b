#pragma once

// Small PDF documents of the development server: card-terminal receipts and
// account reports. Drawn with QPdfWriter, so a QGuiApplication must exist.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

namespace qv {

struct DevPdfTable
{
    QString caption;
    QStringList headers;
    std::vector<int> weights; // relative column widths, one per header
    std::vector<bool> right;  // right-aligned columns (amounts)
    std::vector<QStringList> rows;
    QStringList totals; // an optional last row in bold
};

struct DevPdfDocument
{
    QString title;
    QStringList lines; // label lines under the title
    std::vector<DevPdfTable> tables;
    QStringList closing;  // lines after the tables
    bool receipt = false; // a narrow card-terminal slip instead of A4
};

// The document's PDF bytes. Throws qv::Error without a QGuiApplication.
QByteArray renderPdf(const DevPdfDocument &doc);

// Money in the Turkish form of the documents: 1.234,50
QString pdfMoney(double value);

} // namespace qv
