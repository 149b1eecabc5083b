#pragma once

// The login window. The server is given only the computer's identity and
// answers with the account registered for it; the typed name and password
// are compared here with what came back. The window also remembers the last
// name and password in ayar.ini.

#include <QDialog>
#include <QString>

#include <functional>

class QCheckBox;
class QLabel;
class QPushButton;
class TSonucBilgisi;
class Tdosyaindir;

namespace qv {
class AnimatedPicture;
class SQLConnection;
class UpperCaseEdit;
} // namespace qv

// The external address of this computer; no public lookup takes place.
QString ExternalAddress();

// The settings file in the application-data folder.
QString SettingsFilePath();

// The remembered user as ayar.ini holds it.
struct LoginSettings
{
    QString isim;
    QString sifre;
    bool hatirla = true;
};

// Reads section "kullanici"; false when the file is missing or unreadable
// (out is then left as it was).
bool ReadLoginSettings(const QString &path, LoginSettings &out);
// Writes the three keys as UTF-8 text, keeping whatever else the file holds;
// false when it could not be written.
bool WriteLoginSettings(const QString &path, const LoginSettings &settings);

// One login: background steps on their own clone of bag. Fills into and
// gives true, or gives false on any connection or call failure.
bool FetchLoginRecord(const qv::SQLConnection &bag, const QString &idsi, TSonucBilgisi &into);

class Tgirisform : public QDialog
{
    Q_OBJECT
public:
    // Runs FormCreate. The window has no parent widget, so it gets its own
    // task-bar button while the main window is not yet shown.
    explicit Tgirisform(QWidget *owner);
    ~Tgirisform() override;

    void FormCreate();
    void LoadSettings();
    void SaveSettings();

    void adiKeyPress(QKeyEvent *event);
    void sifreKeyPress(QKeyEvent *event);
    void Button1Click();
    void Button2Click();
    void Devamet(const QString &address);

    // Result step branches, each a window the login opens.
    void StartUpdate();
    void ShowRequestForm();
    // True when a customer was chosen.
    bool ChooseCustomer();

    QString idsi;
    qv::SQLConnection *bagim = nullptr; // lent by the main window
    TSonucBilgisi *Bilgim = nullptr;    // lent by the main window

    // How the update window is shown; tests replace it to see the call
    // without starting a download. nullptr restores exec().
    static void setUpdateWindowRunner(std::function<int(Tdosyaindir &window, int version)> runner);

    QLabel *Image1;
    QLabel *RxLabel1;
    QCheckBox *benihatirla;
    QLabel *Label1;
    qv::UpperCaseEdit *adi;
    QLabel *Label2;
    qv::UpperCaseEdit *sifre;
    QPushButton *Button1;
    QPushButton *Button2;
    qv::AnimatedPicture *RxGIFAnimator1;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void ResultStep(bool fetched);
    void BackToIdle();
    bool EmptyFieldWarning(qv::UpperCaseEdit *edit, const QString &message);
};
