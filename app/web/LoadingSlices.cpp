// The browser has no thread to load on that works on any web host (threads
// need shared memory, which needs special response headers), so the loading
// runs in slices on the main thread between frames.
#include "app/web/LoadingSlices.h"

#include "DataManager/Assets.h"
#include "app/FramePacer.h"
#include "app/Loading.h"
#include "game/Frame.h"

#include <exception>
#include <memory>

namespace {

std::unique_ptr<TAssetLoadSteps> steps;

} // namespace

void StartLoading(TVelaSoundSystem& sound)
{
    const TLoadThread::THooks hooks = LoadThreadHooks();
    if (hooks.inLoadingState && !hooks.inLoadingState())
        return;
    steps = std::make_unique<TAssetLoadSteps>(sound, PackageAssetSource(), hooks.loaded);
}

void StopLoading() { steps.reset(); }

void RunLoadingSlice(int64_t budgetNanoseconds)
{
    if (!steps)
        return;
    const int64_t start = MonotonicNanoseconds();
    try {
        while (steps->RunNext()) {
            if (MonotonicNanoseconds() - start >= budgetNanoseconds)
                return;
        }
    } catch (const std::exception&) {
        // Out of memory in a loader: the loading screen stays up, as on the desktop.
    }
    steps.reset();
}
