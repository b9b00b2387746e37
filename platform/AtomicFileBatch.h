// Replaces many files at once with the guarantee of WriteFileAtomically (a
// crash at any moment leaves each file old or new, whole) but far fewer disk
// flushes: Add writes each file's data to a temporary file beside it without
// flushing; Commit flushes every temporary, renames each over its file in the
// order added and then flushes each directory it renamed into once.
//
// Names follow WriteFileAtomically: "\" or the native separator, an existing
// file whose name differs only in case is the one replaced, and a read-only
// file or a directory is refused. Within one batch each directory is listed
// once, so the case-insensitive lookup costs no scan per file; the batch
// assumes no one else renames entries of those directories meanwhile.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <span>
#include <string_view>

namespace qvs::platform {

class AtomicFileBatch {
public:
    AtomicFileBatch();
    // Removes every temporary file that Commit did not rename.
    ~AtomicFileBatch();
    AtomicFileBatch(const AtomicFileBatch&) = delete;
    AtomicFileBatch& operator=(const AtomicFileBatch&) = delete;

    // Appends the next bytes to the file being added.
    using ContentWriter = std::function<void(std::span<const std::byte>)>;
    using ContentSource = std::function<void(const ContentWriter& write)>;

    // Throws FileCreateError naming path; earlier files stay in the batch.
    void Add(std::string_view path, std::span<const std::byte> data);
    void Add(std::string_view path, std::string_view data);
    // Streams a file that is never whole in memory: fill is called once and
    // hands the content to write in pieces. When fill throws, the file's
    // temporary is removed and the error passes on; earlier files stay.
    void Add(std::string_view path, const ContentSource& fill);

    // Every file is whole on the disk before the first rename. Throws
    // FileCreateError naming the first file that failed: when a flush fails
    // nothing is replaced; when a rename fails the files before it are new,
    // it and those after it old. Either way no temporary file remains. The
    // batch is empty afterwards and may be used again.
    void Commit();

    // Files added and not yet committed.
    std::size_t Pending() const;

private:
    struct State;
    std::unique_ptr<State> state_;
};

} // namespace qvs::platform
