#pragma once

// The one seam every message box of the program goes through. Normally it
// builds and shows a real dialog; a test can queue answers so that the next
// dialogs are recorded and answered without being shown.

#include <QList>
#include <QString>

#include <cstdint>
#include <exception>
#include <functional>

class QWidget;
class QMessageBox;

namespace qv {

enum class DialogKind { Warning = 0, Error = 1, Information = 2, Question = 3, Custom = 4 };

// Button numbers; also the "default button" numbers.
enum DialogButton : int {
    mbYes = 0,
    mbNo = 1,
    mbOK = 2,
    mbCancel = 3,
    mbAbort = 4,
    mbRetry = 5,
    mbIgnore = 6,
    mbAll = 7,
    mbNoToAll = 8,
    mbYesToAll = 9,
    mbHelp = 10,
};
using DialogButtons = std::uint32_t; // bit (1 << DialogButton)
constexpr DialogButtons buttonSet(std::initializer_list<int> b)
{
    DialogButtons s = 0;
    for (int x : b)
        s |= DialogButtons(1) << x;
    return s;
}

// Modal results, the platform's numbering.
enum ModalResult : int {
    mrNone = 0,
    mrOk = 1,
    mrCancel = 2,
    mrAbort = 3,
    mrRetry = 4,
    mrIgnore = 5,
    mrYes = 6,
    mrNo = 7,
    mrClose = 8,
    mrHelp = 9,
    mrAll = 12,
    mrNoToAll = 13,
    mrYesToAll = 14,
};

struct DialogRecord
{
    bool plain = false; // the platform's plain message box
    QString text;
    int kind = 4;
    DialogButtons buttons = 0;
    int defaultButton = -1;
    QString title;         // as it was (or would have been) shown
    bool uiThread = false; // handled on the UI thread (hand-over proof for tests)
};

class MessageSeam
{
public:
    // Shows a message dialog (or answers it from the queue) on the UI thread;
    // from another thread it hands over and waits.
    static int messageDialog(const QString &text,
                             DialogKind kind,
                             DialogButtons buttons,
                             int defaultButton,
                             QWidget *owner = nullptr);
    // The plain message box with one OK button and the application's title.
    // Its button keeps the platform's untranslated caption "OK"; only the
    // message dialog speaks Turkish.
    static void showMessage(const QString &text);

    // Font of every dialog of the process; 0 leaves the application font.
    // A size 15 meant in points is 20 pixels at 96 dpi. Pixel sizes ignore
    // the screen density, point sizes follow it; the last call wins.
    static void setFontPointSize(int size);
    static void setFontPixelSize(int size);

    // --- for tests ---
    static void pushAnswer(int modalResult);    // answers the next dialog
    static void setAutoAnswer(int modalResult); // answers every dialog; mrNone turns it off
    static QList<DialogRecord> shown();         // every dialog since the last clear
    static void clear();                        // forgets records and queued answers
    // Called with each real dialog right before it runs, so a test can look.
    static void setInspector(std::function<void(QMessageBox *)> inspector);
    // Answers dialogs that no queued answer took, on the UI thread, after the
    // record was made; returning mrNone lets the auto answer or the real
    // dialog decide. Lets a test react to the n-th message.
    static void setAnswerFunction(std::function<int(const DialogRecord &)> answer);
};

// The application's default error display: an error box with the error's
// own message. Exceptions that leave a background task end up here.
void showDefaultError(const std::exception &error);
void showDefaultError(std::exception_ptr error);

// Captions of the message dialog's buttons, by button number.
QString dialogButtonCaption(int button);
// Title of a dialog kind; kinds from 4 on carry the application's title.
QString dialogTitle(int kind);

} // namespace qv
