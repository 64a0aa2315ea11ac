#include "many_dats.h"

#include "core/content/dat_index_cache.h"
#include "core/content/dat_zip.h"
#include "core/content/repeated_games.h"
#include "core/content/sets/set_matching.h"
#include "core/foundation/folder_walk.h"
#include "core/foundation/path_join.h"

#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <set>
#include <thread>

namespace tokenade {
namespace {

bool endsWithFolded(std::string_view name, std::string_view ending)
{
    if (name.size() < ending.size())
        return false;
    return std::equal(ending.begin(), ending.end(), name.end() - static_cast<ptrdiff_t>(ending.size()),
                      [](char a, char b) { return a == (b >= 'A' && b <= 'Z' ? b - 'A' + 'a' : b); });
}

bool looksLikeDatFile(std::string_view name)
{
    return endsWithFolded(name, ".dat") || endsWithFolded(name, ".xml") || endsWithFolded(name, ".zip");
}

bool isFolder(const std::string& path)
{
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

void addFolder(const std::string& folder, std::vector<std::string>& files, std::vector<DatProblem>& problems)
{
    const size_t before = files.size();
    walkFolder(folder, [&](const WalkEntry& entry) {
        if ((entry.type == EntryType::Regular || entry.type == EntryType::Symlink) && looksLikeDatFile(entry.name))
            files.push_back(joinPath(joinPath(folder, std::string(entry.parent)), std::string(entry.name)));
        return files.size() > kDatCountLimit ? WalkStep::Stop : WalkStep::Continue;
    });
    if (files.size() == before)
        problems.push_back({folder, 0, 0, "holds no DAT (.dat, .xml or .zip)"});
}

std::string_view fileNameOf(std::string_view path)
{
    const size_t slash = path.find_last_of('/');
    std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const size_t dot = name.find_last_of('.');
    return dot == 0 || dot == std::string_view::npos ? name : name.substr(0, dot);
}

DatOrigin originOf(DatIndex& into, const DatPart& part)
{
    DatOrigin origin;
    origin.path = into.storage.store(part.path);
    origin.name = part.dat.name.empty() ? into.storage.store(fileNameOf(part.path)) : into.storage.store(part.dat.name);
    origin.families = hasFamilies(part.dat);
    return origin;
}

template <typename Records>
void append(Records& into, Records& from)
{
    into.insert(into.end(), std::make_move_iterator(from.begin()), std::make_move_iterator(from.end()));
}

}  // namespace

std::vector<std::string> datFilesOf(std::span<const std::string> paths, std::vector<DatProblem>& problems)
{
    std::vector<std::string> files;
    for (const std::string& path : paths) {
        if (isFolder(path))
            addFolder(path, files, problems);
        else
            files.push_back(path);  // its reader says what is wrong with it
    }
    std::set<std::string> seen;
    std::erase_if(files, [&](const std::string& file) { return !seen.insert(file).second; });
    if (files.size() > kDatCountLimit) {
        problems.push_back({files[kDatCountLimit], 0, 0, "and the DATs after it are past the " +
                                                            std::to_string(kDatCountLimit) + " DATs read at once"});
        files.resize(kDatCountLimit);
    }
    return files;
}

DatIndex combineDats(std::vector<DatPart> parts)
{
    if (parts.size() == 1) {
        DatIndex& alone = parts[0].dat;
        alone.origins = {originOf(alone, parts[0])};
        return std::move(alone);
    }
    DatIndex all;
    for (uint16_t p = 0; p < parts.size(); ++p) {
        DatIndex& part = parts[p].dat;
        all.origins.push_back(originOf(all, parts[p]));
        for (DatGame game : part.games) {
            game.firstRom += static_cast<uint32_t>(all.roms.size());
            game.firstDisk += static_cast<uint32_t>(all.disks.size());
            game.firstDeviceRef += static_cast<uint32_t>(all.deviceRefs.size());
            game.dat = p;
            all.games.push_back(game);
        }
        append(all.roms, part.roms);
        append(all.disks, part.disks);
        append(all.deviceRefs, part.deviceRefs);
        all.unmatchableRoms += part.unmatchableRoms;
        all.storage.adopt(std::move(part.storage));
    }
    all.format = parts[0].dat.format;
    mergeRepeatedGames(all);
    all.finish();
    return all;
}

namespace {

// What one file gives: a DAT file one DAT, a zip each DAT it holds.
std::vector<ZippedDat> readDatsOf(const std::string& file, const CacheChoice& cache)
{
    if (looksLikeZip(file))
        return readZippedDats(file, {cache.use, ""});
    std::vector<ZippedDat> one(1);
    one[0] = {file, readDatThroughCache(file, cache)};
    return one;
}

// The files read a few at a time, each kept in its place: most of a DAT's
// read is parsing, which one core does alone.
std::vector<std::vector<ZippedDat>> readEachFile(const std::vector<std::string>& files, const CacheChoice& cache)
{
    std::vector<std::vector<ZippedDat>> read(files.size());
    std::atomic<size_t> next = 0;
    const auto work = [&] {
        for (size_t i = next++; i < files.size(); i = next++)
            read[i] = readDatsOf(files[i], files.size() == 1 ? cache : CacheChoice{cache.use, ""});
    };
    const size_t threads = std::min<size_t>(files.size(), std::clamp(std::thread::hardware_concurrency(), 1u, 4u));
    std::vector<std::jthread> helpers;
    for (size_t t = 1; t < threads; ++t)
        helpers.emplace_back(work);
    work();
    helpers.clear();  // joined before `read` is handed on
    return read;
}

}  // namespace

ManyDatsRead readManyDats(std::span<const std::string> paths, const CacheChoice& cache)
{
    ManyDatsRead read;
    const std::vector<std::string> files = datFilesOf(paths, read.problems);
    std::vector<DatPart> parts;
    for (std::vector<ZippedDat>& ofFile : readEachFile(files, cache)) {
        for (ZippedDat& one : ofFile) {
            if (one.read.dat)
                parts.push_back({std::move(*one.read.dat), std::move(one.path)});
            else
                read.problems.push_back(std::move(one.read.problem));
        }
    }
    if (parts.size() > kDatCountLimit) {
        read.problems.push_back({parts[kDatCountLimit].path, 0, 0, "and the DATs after it are past the " +
                                                                      std::to_string(kDatCountLimit) + " DATs read at once"});
        parts.resize(kDatCountLimit);
    }
    if (!parts.empty())
        read.dat = combineDats(std::move(parts));
    return read;
}

}  // namespace tokenade
