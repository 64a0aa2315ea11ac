#include "folder_walk.h"

#include "folder_reader.h"
#include "path_join.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace tokenade {
namespace {

struct PendingFolder {
    size_t root;
    std::string relative;
};

// The folders still to read, shared by the walking threads. A thread that
// finds nothing waits while others may still add subfolders; the walk ends
// when nothing is pending and nobody is reading.
class FolderQueue {
public:
    explicit FolderQueue(size_t roots)
    {
        for (size_t root = 0; root < roots; ++root)
            pending_.push_back({root, ""});
    }

    bool take(PendingFolder& folder)
    {
        std::unique_lock<std::mutex> lock(mutex_);
        ready_.wait(lock, [this] { return !pending_.empty() || reading_ == 0; });
        if (pending_.empty())
            return false;
        folder = std::move(pending_.back());
        pending_.pop_back();
        ++reading_;
        return true;
    }

    // Hands folders found by a reader over to whoever is free.
    void share(std::vector<PendingFolder>& found)
    {
        if (found.empty())
            return;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            for (auto& folder : found)
                pending_.push_back(std::move(folder));
        }
        found.clear();
        ready_.notify_all();
    }

    // The reader has nothing of its own left to read.
    void done()
    {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            --reading_;
        }
        ready_.notify_all();
    }

private:
    std::mutex mutex_;
    std::condition_variable ready_;
    std::vector<PendingFolder> pending_;
    unsigned reading_ = 0;
};

void walkShare(const std::vector<std::string>& roots, FolderQueue& queue, unsigned thread,
               const ParallelVisitor& visit, std::stop_token stop, std::vector<FolderFailure>& failures)
{
    PendingFolder folder;
    std::vector<PendingFolder> subfolders;
    FolderOpener opener;
    bool keptOne = false;
    // Each thread goes on down into one subfolder of what it just read (its
    // opener then opens it relative to its parent) and shares the others.
    while (keptOne || queue.take(folder)) {
        if (!stop.stop_requested()) {
            const std::string& root = roots[folder.root];
            const int fd = opener.open(joinPath(root, folder.relative), folder.relative.empty());
            if (fd < 0) {
                failures.push_back({folder.root, folder.relative, errno});
            } else {
                FolderReader reader(fd);
                const int error = reader.forEach([&](std::string_view name, EntryType type) {
                    visit(thread, WalkEntry{folder.relative, name, type, folder.root});
                    if (type == EntryType::Directory) {
                        std::string relative = folder.relative;
                        if (!relative.empty())
                            relative.push_back('/');
                        relative.append(name);
                        subfolders.push_back({folder.root, std::move(relative)});
                    }
                    return true;
                });
                if (error != 0)
                    failures.push_back({folder.root, folder.relative, error});
            }
        }
        keptOne = !subfolders.empty();
        PendingFolder next;
        if (keptOne) {
            next = std::move(subfolders.back());
            subfolders.pop_back();
        }
        queue.share(subfolders);
        if (keptOne)
            folder = std::move(next);
        else
            queue.done();
    }
}

}  // namespace

unsigned walkThreads()
{
    return 8;
}

unsigned sortThreads()
{
    return std::clamp(std::thread::hardware_concurrency(), 1u, 4u);
}

std::vector<FolderFailure> walkFoldersInParallel(const std::vector<std::string>& roots, unsigned threads,
                                                 const ParallelVisitor& visit, std::stop_token stop)
{
    threads = std::max(threads, 1u);
    FolderQueue queue(roots.size());
    std::vector<std::vector<FolderFailure>> failures(threads);
    std::vector<std::thread> helpers;
    for (unsigned thread = 1; thread < threads; ++thread)
        helpers.emplace_back([&, thread] { walkShare(roots, queue, thread, visit, stop, failures[thread]); });
    walkShare(roots, queue, 0, visit, stop, failures[0]);
    for (std::thread& helper : helpers)
        helper.join();
    for (unsigned thread = 1; thread < threads; ++thread)
        failures[0].insert(failures[0].end(), failures[thread].begin(), failures[thread].end());
    return std::move(failures[0]);
}

}  // namespace tokenade
