#include "VelaXM/CriticalSection.h"

void TVelaCriticalSection::Enter()
{
    mutex_.lock();
    ++depth_;
    locked_ = true;
}

void TVelaCriticalSection::Leave()
{
    --depth_;
    // "locked" mirrors the last operation, as callers only use it as a hint.
    locked_ = false;
    mutex_.unlock();
}
