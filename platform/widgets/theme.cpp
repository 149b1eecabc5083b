#include "theme.h"

#include <QApplication>
#include <QPalette>
#include <QStyleFactory>

namespace qv {

namespace {

QPalette lightPalette()
{
    const QColor window(0xF4, 0xF5, 0xF7);
    const QColor base(0xFF, 0xFF, 0xFF);
    const QColor text(0x1E, 0x23, 0x28);
    const QColor mid(0xC9, 0xCD, 0xD2);
    QPalette p;
    p.setColor(QPalette::Window, window);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Base, base);
    p.setColor(QPalette::AlternateBase, QColor(239, 239, 239));
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::Button, QColor(0xFB, 0xFB, 0xFC));
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::BrightText, Qt::white);
    p.setColor(QPalette::Light, Qt::white);
    p.setColor(QPalette::Midlight, QColor(0xE4, 0xE6, 0xE9));
    p.setColor(QPalette::Mid, mid);
    p.setColor(QPalette::Dark, QColor(0x9A, 0xA0, 0xA6));
    p.setColor(QPalette::Shadow, QColor(0x5F, 0x65, 0x6B));
    // Grid selection: light blue with black text, as the lists want it.
    p.setColor(QPalette::Highlight, QColor(210, 240, 249));
    p.setColor(QPalette::HighlightedText, Qt::black);
    p.setColor(QPalette::ToolTipBase, QColor(0xFF, 0xFF, 0xE8));
    p.setColor(QPalette::ToolTipText, text);
    p.setColor(QPalette::PlaceholderText, QColor(0x8A, 0x90, 0x96));
    p.setColor(QPalette::Link, accentColour());
    p.setColor(QPalette::Disabled, QPalette::Text, QColor(0x8A, 0x90, 0x96));
    p.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x8A, 0x90, 0x96));
    p.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0x8A, 0x90, 0x96));
    return p;
}

const char *styleSheet()
{
    return R"(
QTabWidget::pane { border: 0; border-top: 3px solid #E20A17; background: #FFFFFF; }
QTabBar::tab {
    min-width: 112px; height: 45px; padding: 0 4px; margin-right: 1px;
    color: #FFFFFF; background: #3A3F44; font: 13px "Tahoma";
    border-top-left-radius: 4px; border-top-right-radius: 4px;
}
QTabBar::tab:hover { background: #50565C; }
QTabBar::tab:selected { background: #E20A17; }
QHeaderView::section {
    background: #1E2328; color: #FFFFFF; font: bold 13px "Arial";
    border: 0; border-right: 1px solid #3A3F44; padding: 2px 4px;
}
QTableView { gridline-color: #DADDE1; selection-background-color: rgb(210, 240, 249);
             selection-color: #000000; }
QLineEdit { border: 1px solid #C9CDD2; border-radius: 3px; padding: 0 6px; background: #FFFFFF; }
QLineEdit:focus { border: 1px solid #E20A17; }
QLineEdit:disabled { background: #EEF0F2; }
QPushButton, QToolButton { border: 1px solid #C9CDD2; border-radius: 3px; background: #FFFFFF; }
QPushButton { padding: 3px 10px; }
QToolButton { padding: 1px; }
QToolButton[popupMode="1"] { padding-right: 14px; }
QToolButton::menu-button { border: 0; border-left: 1px solid #E4E6E9; width: 14px; }
QPushButton:hover, QToolButton:hover { border-color: #E20A17; background: #FFF5F5; }
QPushButton:pressed, QToolButton:pressed { background: #FBE3E4; }
QPushButton:default { border: 2px solid #E20A17; }
QMenu { background: #FFFFFF; border: 1px solid #C9CDD2; padding: 4px 0; }
QMenu::item { padding: 6px 28px 6px 20px; }
QMenu::item:selected { background: #E20A17; color: #FFFFFF; }
QMenu::separator { height: 1px; background: #E4E6E9; margin: 4px 8px; }
)";
}

} // namespace

void applyStyle(QApplication &app)
{
    app.setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    app.setPalette(lightPalette());
    app.setStyleSheet(QString::fromLatin1(styleSheet()));
}

} // namespace qv
