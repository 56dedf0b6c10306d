#include <algorithm>
#include <cstring>

#include "drawing/drawing.h"
#include "drawing/test_hooks.h"

namespace drw {

namespace test_hooks {
bool failNextStreamCreation = false;
}

std::unique_ptr<MemoryStreamObject> MemoryStreamObject::Copy() const {
    auto copy = std::make_unique<MemoryStreamObject>();
    if (memory_) copy->CreateFromBytes(ReadAll());
    return copy;
}

IStream* MemoryStreamObject::CreateFromBytes(const ByteString& bytes, Opt<size_t> size) {
    Release();
    const size_t n = size.Or(bytes.size());
    memory_ = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, n);
    // Without a block of our own the stream would allocate one that nobody frees.
    if (!memory_) return nullptr;
    const bool refuse = test_hooks::failNextStreamCreation;
    test_hooks::failNextStreamCreation = false;
    // The stream owns the block: it lives while anyone holds the stream.
    if (refuse || FAILED(CreateStreamOnHGlobal(memory_, TRUE, &stream_))) stream_ = nullptr;
    freesBlock_ = stream_ == nullptr;
    data_ = GlobalLock(memory_);
    // Never read past the caller's bytes; the rest of the block stays zero.
    if (data_ && !bytes.empty()) std::memcpy(data_, bytes.data(), std::min(n, bytes.size()));
    GlobalUnlock(memory_);
    return stream_;
}

void MemoryStreamObject::Release() {
    // The stream frees its block with its last reference, which may be
    // GDI+'s; a block that got no stream is freed here.
    if (stream_) stream_->Release();
    if (memory_ && freesBlock_) GlobalFree(memory_);
    stream_ = nullptr;
    memory_ = nullptr;
    freesBlock_ = false;
}

size_t MemoryStreamObject::GetBlockSize() const { return memory_ ? GlobalSize(memory_) : 0; }

int MemoryStreamObject::AttachStream(IStream* stream) {
    Release();
    HGLOBAL block = nullptr;
    if (stream) GetHGlobalFromStream(stream, &block);
    memory_ = block;
    stream_ = stream;
    // The block belongs to the attached stream, which may free it itself.
    freesBlock_ = false;
    return memory_ ? 1 : 0;
}

ByteString MemoryStreamObject::ReadAll() const {
    if (!memory_) return ByteString();
    size_t n = GlobalSize(memory_);
    // What was written can be less than the block the stream grew to.
    STATSTG stat{};
    if (stream_ && SUCCEEDED(stream_->Stat(&stat, STATFLAG_NONAME)))
        n = std::min<size_t>(n, static_cast<size_t>(stat.cbSize.QuadPart));
    data_ = GlobalLock(memory_);
    ByteString bytes;
    if (data_) bytes.assign(static_cast<const unsigned char*>(data_), static_cast<const unsigned char*>(data_) + n);
    GlobalUnlock(memory_);
    return bytes;
}

}  // namespace drw
