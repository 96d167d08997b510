#include "VelaXM/ZeroedPages.h"

#include <new>
#include <sys/mman.h>

TZeroedPages::TZeroedPages(size_t Bytes) : Size(Bytes)
{
    Block = mmap(nullptr, Size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (Block == MAP_FAILED)
        throw std::bad_alloc();
}

TZeroedPages::~TZeroedPages() { munmap(Block, Size); }
