// The desktop loads on a thread of its own.
#include "app/Loading.h"

#include "DataManager/Assets.h"
#include "DataManager/LoadThread.h"
#include "game/Frame.h"

#include <memory>

namespace {

std::unique_ptr<TLoadThread> loadThread;

} // namespace

void StartLoading(TVelaSoundSystem& sound)
{
    loadThread = std::make_unique<TLoadThread>(sound, PackageAssetSource(), LoadThreadHooks());
}

void StopLoading()
{
    if (!loadThread)
        return;
    loadThread->Terminate();
    loadThread->WaitFor();
    loadThread.reset();
}
