// Keeps freed large blocks of the fuzz_batch program for reuse.
//
// The batch calculator asks for the same few large blocks on every input:
// a megabyte for the CSV reader's chunk and a block's worth of row slots,
// for each of the two runs. Under the address sanitizer every such block is
// a fresh mapping whose shadow memory is written and then given back to the
// system, and on a virtual machine the page faults that follow cost
// milliseconds: the fuzzer ran 60 inputs a second instead of hundreds.
//
// So freed blocks of a quarter of a megabyte or more wait here, poisoned,
// for the next request of the same size. A read or write of a block while
// it waits is still reported (as use-after-poison); what is lost is the
// sanitizer's delay before a block is reused, which is what would catch a
// pointer that outlives its block by a whole run.

#include <sanitizer/allocator_interface.h>
#include <sanitizer/asan_interface.h>

#include <array>
#include <cstddef>
#include <cstdlib>
#include <mutex>
#include <new>

namespace {

constexpr std::size_t kLargeBytes = std::size_t{256} << 10;
constexpr std::size_t kKeptBlocks = 16;

class LargeBlockCache {
public:
    // A kept block of exactly `size` bytes, or nullptr.
    void* take(std::size_t size)
    {
        const std::lock_guard lock(m_mutex);
        for (Block& block : m_blocks) {
            if (block.data != nullptr && block.size == size) {
                void* data = block.data;
                block.data = nullptr;
                ASAN_UNPOISON_MEMORY_REGION(data, size);
                return data;
            }
        }
        return nullptr;
    }

    // False when there is no room: the caller frees the block.
    bool keep(void* data, std::size_t size)
    {
        const std::lock_guard lock(m_mutex);
        for (Block& block : m_blocks) {
            if (block.data == nullptr) {
                ASAN_POISON_MEMORY_REGION(data, size);
                block = {data, size};
                return true;
            }
        }
        return false;
    }

private:
    struct Block {
        void* data = nullptr;
        std::size_t size = 0;
    };
    std::mutex m_mutex;
    std::array<Block, kKeptBlocks> m_blocks{};
};

// Constant-initialized, so that it is there for allocations made while
// other objects of the program are constructed and destroyed.
constinit LargeBlockCache cache;

void* allocate(std::size_t size)
{
    if (size >= kLargeBytes) {
        if (void* data = cache.take(size)) {
            return data;
        }
    }
    return std::malloc(size == 0 ? 1 : size);
}

void* allocateOrThrow(std::size_t size)
{
    void* data = allocate(size);
    if (data == nullptr) {
        throw std::bad_alloc();
    }
    return data;
}

void release(void* data) noexcept
{
    if (data == nullptr) {
        return;
    }
    const std::size_t size = __sanitizer_get_allocated_size(data);
    if (size >= kLargeBytes && cache.keep(data, size)) {
        return;
    }
    std::free(data);
}

} // namespace

// Every form of new and delete that has no alignment of its own: all of
// them must meet in malloc and free, or the sanitizer would see a block
// taken with one and given back with another.
void* operator new(std::size_t size)
{
    return allocateOrThrow(size);
}
void* operator new[](std::size_t size)
{
    return allocateOrThrow(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    return allocate(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    return allocate(size);
}
void operator delete(void* data) noexcept
{
    release(data);
}
void operator delete[](void* data) noexcept
{
    release(data);
}
void operator delete(void* data, std::size_t) noexcept
{
    release(data);
}
void operator delete[](void* data, std::size_t) noexcept
{
    release(data);
}
void operator delete(void* data, const std::nothrow_t&) noexcept
{
    release(data);
}
void operator delete[](void* data, const std::nothrow_t&) noexcept
{
    release(data);
}
