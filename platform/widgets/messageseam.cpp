#include "messageseam.h"

#include "errors.h"
#include "uithread.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include <deque>
#include <mutex>

namespace qv {

namespace {

struct ButtonInfo
{
    int number;
    const char *objectName;
    const char *caption; // UTF-8
    int result;
};

// In the platform's order, which is also the order the buttons appear in.
constexpr ButtonInfo kButtons[] = {
    {mbYes, "Yes", "Evet", mrYes},
    {mbNo, "No", "Hayır", mrNo},
    {mbOK, "OK", "Tamam", mrOk},
    {mbCancel, "Cancel", "Vazgeç", mrCancel},
    {mbAbort, "Abort", "İptal", mrAbort},
    {mbRetry, "Retry", "Tekrar", mrRetry},
    {mbIgnore, "Ignore", "Atla", mrIgnore},
    {mbAll, "All", "Tümü", mrAll},
    {mbNoToAll, "NoToAll", "Tümüne Hayır", mrNoToAll},
    {mbYesToAll, "YesToAll", "Tümüne Evet", mrYesToAll},
    {mbHelp, "Help", "Yardım", mrHelp},
};

struct SeamState
{
    std::mutex mutex;
    std::deque<int> answers;
    int autoAnswer = mrNone;
    QList<DialogRecord> records;
    std::function<void(QMessageBox *)> inspector;
    std::function<int(const DialogRecord &)> answerFunction;
    int pointSize = 0;
    int pixelSize = 0;
};

SeamState &state()
{
    static SeamState s;
    return s;
}

bool hasButton(DialogButtons buttons, int number)
{
    return number >= 0 && number < 32 && (buttons & (DialogButtons(1) << number)) != 0;
}

// Records the dialog and gives the test's answer, or mrNone when the real
// dialog has to run.
int takeAnswer(const DialogRecord &record)
{
    SeamState &s = state();
    std::function<int(const DialogRecord &)> answerFunction;
    {
        std::lock_guard lock(s.mutex);
        s.records.append(record);
        if (!s.answers.empty()) {
            const int answer = s.answers.front();
            s.answers.pop_front();
            return answer;
        }
        answerFunction = s.answerFunction;
    }
    // Called unlocked: the function may look at shown() or queue answers.
    if (answerFunction) {
        const int answer = answerFunction(record);
        if (answer != mrNone)
            return answer;
    }
    std::lock_guard lock(s.mutex);
    return s.autoAnswer;
}

QMessageBox::Icon iconOf(int kind)
{
    switch (kind) {
    case 0:
        return QMessageBox::Warning;
    case 1:
        return QMessageBox::Critical;
    case 2:
        return QMessageBox::Information;
    case 3:
        return QMessageBox::Question;
    default:
        return QMessageBox::NoIcon;
    }
}

int runRealDialog(const DialogRecord &record, QWidget *owner)
{
    SeamState &s = state();
    std::function<void(QMessageBox *)> inspector;
    int pointSize = 0;
    int pixelSize = 0;
    {
        std::lock_guard lock(s.mutex);
        inspector = s.inspector;
        pointSize = s.pointSize;
        pixelSize = s.pixelSize;
    }

    // The plain box takes the default (screen) position; the dialog is
    // centred on its owner, the active window when none is given.
    QWidget *parent = record.plain ? nullptr : (owner ? owner : QApplication::activeWindow());
    QMessageBox box(parent);
    box.setObjectName(record.plain ? QStringLiteral("ShowMessage")
                                   : QStringLiteral("MessageDialog"));
    box.setWindowTitle(record.title);
    box.setTextFormat(Qt::PlainText); // server texts may hold '<'
    box.setText(record.text);
    box.setIcon(iconOf(record.plain ? 4 : record.kind));
    if (pixelSize > 0 || pointSize > 0) {
        QFont font = box.font();
        if (pixelSize > 0)
            font.setPixelSize(pixelSize);
        else
            font.setPointSize(pointSize);
        box.setFont(font);
    }

    // One role for all buttons keeps them in the platform's order on every
    // desktop's button layout; the results come from our own table.
    QList<QPair<QPushButton *, int>> made;
    QPushButton *byNumber[mbHelp + 1] = {};
    for (const ButtonInfo &info : kButtons) {
        if (!hasButton(record.buttons, info.number))
            continue;
        const QString caption
            = record.plain ? QStringLiteral("OK") : QString::fromUtf8(info.caption);
        QPushButton *button = box.addButton(caption, QMessageBox::ActionRole);
        button->setObjectName(QString::fromLatin1(info.objectName));
        made.append({button, info.result});
        byNumber[info.number] = button;
    }
    if (made.isEmpty()) {
        QPushButton *button = box.addButton(QStringLiteral("OK"), QMessageBox::ActionRole);
        button->setObjectName(QStringLiteral("OK"));
        made.append({button, mrOk});
    }
    // "All" and numbers beyond Help make no button the default.
    QPushButton *defaultButton = nullptr;
    if (record.defaultButton >= 0 && record.defaultButton <= mbHelp
        && record.defaultButton != mbAll)
        defaultButton = byNumber[record.defaultButton];

    // Escape answers like Cancel, else No, else OK.
    for (int number : {int(mbCancel), int(mbNo), int(mbOK)}) {
        if (byNumber[number]) {
            box.setEscapeButton(byNumber[number]);
            break;
        }
    }

    if (defaultButton) {
        box.setDefaultButton(defaultButton);
        // First in the tab order: the others follow it, in their own order.
        QWidget *previous = defaultButton;
        for (const auto &m : made) {
            if (m.first == defaultButton)
                continue;
            QWidget::setTabOrder(previous, m.first);
            previous = m.first;
        }
        defaultButton->setFocus();
    }

    if (!record.plain && record.kind >= 0 && record.kind <= 3)
        QApplication::beep();

    if (inspector)
        inspector(&box);
    box.exec();

    QAbstractButton *clicked = box.clickedButton();
    for (const auto &m : made)
        if (m.first == clicked)
            return m.second;
    return mrCancel; // closed without a button
}

int handle(const DialogRecord &base, QWidget *owner)
{
    DialogRecord record = base;
    record.uiThread = isUiThread();
    const int answer = takeAnswer(record);
    if (answer != mrNone)
        return answer;
    return runRealDialog(record, owner);
}

} // namespace

QString dialogButtonCaption(int button)
{
    for (const ButtonInfo &info : kButtons)
        if (info.number == button)
            return QString::fromUtf8(info.caption);
    return {};
}

QString dialogTitle(int kind)
{
    switch (kind) {
    case 0:
        return QStringLiteral("Uyarı");
    case 1:
        return QStringLiteral("Hata");
    case 2:
        return QStringLiteral("Bilgi");
    case 3:
        return QStringLiteral("Soru");
    default:
        return QGuiApplication::applicationDisplayName();
    }
}

int MessageSeam::messageDialog(
    const QString &text, DialogKind kind, DialogButtons buttons, int defaultButton, QWidget *owner)
{
    if (!isUiThread() && QCoreApplication::instance()) {
        int result = mrNone;
        runOnUiThreadBlocking(
            [&] { result = messageDialog(text, kind, buttons, defaultButton, owner); });
        return result;
    }
    DialogRecord record;
    record.plain = false;
    record.text = text;
    record.kind = int(kind);
    record.buttons = buttons;
    record.defaultButton = defaultButton;
    record.title = dialogTitle(int(kind));
    return handle(record, owner);
}

void MessageSeam::showMessage(const QString &text)
{
    if (!isUiThread() && QCoreApplication::instance()) {
        runOnUiThreadBlocking([&] { showMessage(text); });
        return;
    }
    DialogRecord record;
    record.plain = true;
    record.text = text;
    record.kind = int(DialogKind::Custom);
    record.buttons = buttonSet({mbOK});
    record.defaultButton = mbOK;
    record.title = QGuiApplication::applicationDisplayName();
    handle(record, nullptr);
}

void MessageSeam::setFontPointSize(int size)
{
    std::lock_guard lock(state().mutex);
    state().pointSize = size;
    state().pixelSize = 0;
}

void MessageSeam::setFontPixelSize(int size)
{
    std::lock_guard lock(state().mutex);
    state().pixelSize = size;
    state().pointSize = 0;
}

void MessageSeam::pushAnswer(int modalResult)
{
    std::lock_guard lock(state().mutex);
    state().answers.push_back(modalResult);
}

void MessageSeam::setAutoAnswer(int modalResult)
{
    std::lock_guard lock(state().mutex);
    state().autoAnswer = modalResult;
}

QList<DialogRecord> MessageSeam::shown()
{
    std::lock_guard lock(state().mutex);
    return state().records;
}

void MessageSeam::clear()
{
    std::lock_guard lock(state().mutex);
    state().records.clear();
    state().answers.clear();
}

void MessageSeam::setInspector(std::function<void(QMessageBox *)> inspector)
{
    std::lock_guard lock(state().mutex);
    state().inspector = std::move(inspector);
}

void MessageSeam::setAnswerFunction(std::function<int(const DialogRecord &)> answer)
{
    std::lock_guard lock(state().mutex);
    state().answerFunction = std::move(answer);
}

void showDefaultError(const std::exception &error)
{
    MessageSeam::messageDialog(errorText(error), DialogKind::Error, buttonSet({mbOK}), mbOK);
}

void showDefaultError(std::exception_ptr error)
{
    if (!error)
        return;
    try {
        std::rethrow_exception(error);
    } catch (const std::exception &e) {
        showDefaultError(e);
    } catch (...) {
        showDefaultError(Error("Unknown exception"));
    }
}

} // namespace qv
