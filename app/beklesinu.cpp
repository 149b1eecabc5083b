#include "beklesinu.h"

#include "dataset.h"
#include "messageseam.h"
#include "uithread.h"
#include "utils.h"

#include <QThreadPool>

#include <algorithm>
#include <exception>
#include <thread>

namespace {

QThreadPool *pool()
{
    // Loads wait on the network, not the processor: a few quick tab switches
    // must run at once even on a small machine.
    static QThreadPool *const instance = [] {
        QThreadPool *p = QThreadPool::globalInstance();
        p->setMaxThreadCount(std::max(p->maxThreadCount(), 8));
        return p;
    }();
    return instance;
}

} // namespace

TAwait::TAwait(std::function<void()> async)
    : FAsync(std::move(async))
{}

void TAwait::Await(std::function<void()> proc)
{
    pool()->start([async = FAsync, proc = std::move(proc)] {
        std::exception_ptr error;
        try {
            if (async)
                async();
        } catch (...) {
            error = std::current_exception();
        }
        qv::postToUiThread([proc, error] {
            std::exception_ptr completionError;
            try {
                if (proc)
                    proc();
            } catch (...) {
                completionError = std::current_exception();
            }
            qv::showDefaultError(error);
            qv::showDefaultError(completionError);
        });
    });
}

std::shared_ptr<IAwait> Async(std::function<void()> background)
{
    return std::make_shared<TAwait>(std::move(background));
}

void RunDetached(std::function<void()> proc)
{
    std::thread([proc = std::move(proc)] {
        try {
            proc();
        } catch (...) {
        }
    }).detach();
}

PageLoad::PageLoad(QWidget *busyIndicator,
                   QWidget *lockedWidget,
                   qv::DatasetModel *model,
                   qv::Dataset *dataset,
                   QObject *parent)
    : QObject(parent)
    , m_indicator(busyIndicator)
    , m_locked(lockedWidget)
    , m_model(model)
    , m_dataset(dataset)
{}

void PageLoad::start()
{
    if (m_running) {
        m_pending = true;
        return;
    }
    begin();
}

void PageLoad::begin()
{
    m_running = true;
    m_pending = false;

    // The state both halves share; the completion reads what the loader left.
    struct State
    {
        bool hata = false;
    };
    auto state = std::make_shared<State>();

    if (m_indicator)
        m_indicator->show();
    if (busyHook)
        busyHook(true);
    if (m_locked)
        m_locked->setEnabled(false);
    if (m_model)
        m_model->setDataset(nullptr);
    if (onStart)
        onStart();

    QPointer<PageLoad> self(this);
    Async([state, load = loader] { state->hata = load ? !load() : false; })->Await([state, self] {
        if (self)
            self->complete(state->hata);
    });
}

void PageLoad::complete(bool failed)
{
    if (beforeAttach)
        beforeAttach(failed);
    if (m_model)
        m_model->setDataset(m_dataset);
    if (m_locked)
        m_locked->setEnabled(true);
    if (busyHook)
        busyHook(false);
    if (m_indicator)
        m_indicator->hide();
    m_running = false;
    if (onCompleted)
        onCompleted(failed);

    if (failed)
        ShowMessageDialog(QStringLiteral("Bağlantı Kurulamıyor Lütfen Tekrar Deneyin ...!"),
                          1,
                          qv::buttonSet({qv::mbOK}),
                          qv::mbOK);
    // A showing during the message may already have started the next load.
    if (m_pending && !m_running)
        begin();
}
