#include "DataManager/LoadThread.h"

TLoadThread::TLoadThread(TVelaSoundSystem& sound, TAssetSource source, THooks hooks)
    : sound_(sound), source_(std::move(source)), hooks_(std::move(hooks)), thread_([this] { run(); })
{}

TLoadThread::~TLoadThread()
{
    Terminate();
    WaitFor();
}

void TLoadThread::Terminate() { terminated_.Store(true); }

void TLoadThread::WaitFor()
{
    if (thread_.joinable())
        thread_.join();
}

void TLoadThread::run()
{
    if (hooks_.inLoadingState && !hooks_.inLoadingState())
        return;
    try {
        LoadAssets(sound_, source_, &terminated_, hooks_.loaded);
    } catch (const std::exception&) {
        // Out of memory in a loader: the loading screen stays up rather than the
        // process ending on this thread.
    }
}
