#pragma once

// Background work of the windows: Async(background).Await(completion), the
// detached thread, and the load-on-show pattern of the pages.

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>

namespace qv {
class Dataset;
class DatasetModel;
} // namespace qv

class IAwait
{
public:
    virtual ~IAwait() = default;
    // Starts the background procedure on the shared pool and returns at once;
    // the completion runs on the UI thread from the event loop when it ends.
    // An exception of the background still lets the completion run first and
    // then goes to the default error display.
    virtual void Await(std::function<void()> completion) = 0;
};

class TAwait final : public IAwait
{
public:
    explicit TAwait(std::function<void()> async);
    void Await(std::function<void()> proc) override;

private:
    std::function<void()> FAsync;
};

std::shared_ptr<IAwait> Async(std::function<void()> background);

// A self-freeing thread; nothing waits for it and its errors are dropped.
void RunDetached(std::function<void()> proc);

// The load-on-show pattern of one page. start() shows the busy indicator,
// disables the locked widget (the grid, or the search edit), detaches the
// page's model from its dataset and runs the loader on the pool; the
// completion re-attaches, re-enables, hides the indicator and, when the
// loader returned false, shows "Bağlantı Kurulamıyor Lütfen Tekrar Deneyin
// ...!" once. A loader that throws gets the completion without that message,
// then the default error display.
//
// Two loads of one page never fill its dataset at the same time: start()
// while a load runs only marks one reload, which starts when the running load
// has completed; several showings meanwhile still give a single reload.
// Loads of different pages are independent and run at once.
class PageLoad : public QObject
{
    Q_OBJECT
public:
    // All borrowed; indicator and model may be null, the dataset is what the
    // model shows again after the load.
    PageLoad(QWidget *busyIndicator,
             QWidget *lockedWidget,
             qv::DatasetModel *model = nullptr,
             qv::Dataset *dataset = nullptr,
             QObject *parent = nullptr);

    // Runs on a pool thread; true when the page was filled.
    std::function<bool()> loader;
    // Page extras on the UI thread: before the loader starts, before the
    // model is re-attached (failed = the loader returned false), and after
    // the controls are usable again (before the failure message).
    std::function<void()> onStart;
    std::function<void(bool failed)> beforeAttach;
    std::function<void(bool failed)> onCompleted;
    // Starts or stops the indicator's animation, if it has one.
    std::function<void(bool busy)> busyHook;

    // The showing of the page.
    void start();
    bool running() const { return m_running; }
    bool reloadPending() const { return m_pending; }

private:
    void begin();
    void complete(bool failed);

    QPointer<QWidget> m_indicator;
    QPointer<QWidget> m_locked;
    QPointer<qv::DatasetModel> m_model;
    qv::Dataset *m_dataset;
    bool m_running = false;
    bool m_pending = false;
};
