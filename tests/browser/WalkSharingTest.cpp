// The walk's two halves on their own: the work sharing between walker
// threads, and the assembly that puts their findings back in order while
// they still search.
#include "browser/FolderWalk.h"

#include <chrono>
#include <condition_variable>
#include <future>
#include <gtest/gtest.h>
#include <map>
#include <mutex>
#include <set>
#include <stdexcept>
#include <thread>
#include <vector>

namespace {

constexpr std::uint32_t kFolder = 0x10;
constexpr std::uint32_t kFile = 0x20;
constexpr auto kPatience = std::chrono::seconds(20);

struct Entry {
    String name;
    std::uint32_t attributes;
};

// Folders by path. Each listing notes the thread that made it; a hook may
// hold a listing back or make it fail.
class FakeSource {
public:
    std::map<String, std::vector<Entry>> folders;
    std::function<void(const String&)> beforeList;

    template <class Visit>
    bool List(const String& path, Visit&& visit)
    {
        ++active_;
        struct Leave {
            std::atomic<int>& active;
            ~Leave() { --active; }
        } leave{active_};
        if (beforeList)
            beforeList(path);
        {
            std::lock_guard<std::mutex> lock(mutex_);
            listedBy_[path] = std::this_thread::get_id();
        }
        const auto found = folders.find(path);
        if (found == folders.end())
            return false;
        for (const Entry& e : found->second)
            visit(std::string_view(e.name), e.attributes);
        return true;
    }

    std::optional<String> Identify(const String& path) { return path; }

    std::map<String, std::thread::id> ListedBy()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return listedBy_;
    }
    int Active() const { return active_; }

private:
    std::mutex mutex_;
    std::map<String, std::thread::id> listedBy_;
    std::atomic<int> active_{0};
};

// One line per node, "depth|text|path", in depth-first order.
using Lines = std::vector<String>;

// What a plain recursive walk of the same folders finds.
void ReferenceWalk(const FakeSource& source, const String& path, int depth, Lines& out)
{
    const auto found = source.folders.find(path);
    if (found == source.folders.end())
        return;
    for (const Entry& e : found->second) {
        if (!(e.attributes & kFolder) || e.name.empty() || e.name[0] == '.')
            continue;
        const String child = path + e.name + "\\";
        out.push_back(std::to_string(depth + 1) + "|" + e.name + "|" + child);
        ReferenceWalk(source, child, depth + 1, out);
    }
}

struct Built {
    struct Node {
        int depth;
        String text;
        String path;
        std::vector<int> children;
    };
    std::vector<Node> nodes{{0, "root", "C:\\", {}}};

    int Add(int parent, std::string_view name, String path)
    {
        nodes.push_back({nodes[static_cast<std::size_t>(parent)].depth + 1, String(name), std::move(path), {}});
        const int id = static_cast<int>(nodes.size()) - 1;
        nodes[static_cast<std::size_t>(parent)].children.push_back(id);
        return id;
    }
    void Preorder(int id, Lines& out) const
    {
        for (int child : nodes[static_cast<std::size_t>(id)].children) {
            const Node& n = nodes[static_cast<std::size_t>(child)];
            out.push_back(std::to_string(n.depth) + "|" + n.text + "|" + n.path);
            Preorder(child, out);
        }
    }
};

// C:\ holds A, with eight subfolders of four each, and a file and a dot
// folder that the tree leaves out.
void AddBranches(FakeSource& source)
{
    source.folders["C:\\"] = {{"note.txt", kFile}, {".hidden", kFolder}, {"A", kFolder}};
    source.folders["C:\\.hidden\\"] = {{"x", kFolder}};
    for (const char a : String("01234567")) {
        const String folder = String("a") + a;
        source.folders["C:\\A\\"].push_back({folder, kFolder});
        for (const char b : String("0123")) {
            const String sub = String("b") + b;
            source.folders["C:\\A\\" + folder + "\\"].push_back({sub, kFolder});
            source.folders["C:\\A\\" + folder + "\\" + sub + "\\"] = {};
        }
    }
}

TEST(WalkSharing, AWalkerThatRanDryGetsHalfOfTheOthersWorkAndTheTreeComesOutInOrder)
{
    FakeSource source;
    AddBranches(source);
    WorkSharing<FolderJob> sharing(2);
    std::atomic<bool> heldInVain{false};
    // The walker that took C:\ has only A, so it keeps it, and waits there
    // until the other walker has run dry; then, in the first folder it kept,
    // until the other has listed one of those it was given.
    auto holdUntil = [&](auto&& condition) {
        const auto until = std::chrono::steady_clock::now() + kPatience;
        while (!condition()) {
            if (std::chrono::steady_clock::now() > until) {
                heldInVain = true;
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    };
    source.beforeList = [&](const String& path) {
        if (path == "C:\\A\\")
            holdUntil([&] { return sharing.Waiting() > 0; });
        if (path == "C:\\A\\a0\\")
            holdUntil([&] {
                for (const auto& [listed, thread] : source.ListedBy())
                    if (listed.rfind("C:\\A\\a", 0) == 0 && thread != std::this_thread::get_id())
                        return true;
                return false;
            });
    };

    FolderNumbering numbering;
    WalkCounter counter;
    FolderHandover handover;
    sharing.Seed({0, "C:\\", false});
    {
        std::vector<std::thread> walkers;
        for (std::size_t i = 0; i < 2; ++i)
            walkers.emplace_back([&] { WalkShare(source, sharing, numbering, counter, handover, [](bool) {}); });
        for (std::thread& walker : walkers)
            walker.join();
    }
    ASSERT_FALSE(heldInVain);
    EXPECT_EQ(sharing.Failure(), nullptr);

    // A's subfolders were listed by both threads: the one that held A went
    // on with the first of them, the one that had run dry got older ones.
    const auto listedBy = source.ListedBy();
    std::set<std::thread::id> underA;
    for (const auto& [path, thread] : listedBy)
        if (path.rfind("C:\\A\\a", 0) == 0)
            underA.insert(thread);
    EXPECT_EQ(underA.size(), 2u);
    EXPECT_EQ(listedBy.at("C:\\A\\a0\\"), listedBy.at("C:\\A\\"));
    // Work changed hands a few times, not once per folder (42 of them).
    EXPECT_GE(sharing.Handovers(), 2u);
    EXPECT_LT(sharing.Handovers(), 20u);
    EXPECT_EQ(counter.Read(), 1u + 1u + 8u + 32u);

    // Every numbered folder was handed over by the time both walkers stopped.
    Built built;
    TreeAssembler<int> assembler(0);
    auto add = [&](int parent, std::string_view name, String path) { return built.Add(parent, name, std::move(path)); };
    std::vector<WalkedFolder> arrived;
    handover.TakeAll(arrived);
    assembler.Add(arrived, add);
    EXPECT_EQ(assembler.Added() + 1, numbering.Count());
    EXPECT_FALSE(assembler.Waiting());
    Lines expected;
    ReferenceWalk(source, "C:\\", 0, expected);
    Lines actual;
    built.Preorder(0, actual);
    EXPECT_EQ(actual, expected);
}

TEST(WalkSharing, AssemblyAddsEachFolderOnceEveryEarlierNumberHasArrived)
{
    // Numbers as a walk gives them: 1 C:\x\, 2 C:\y\, then 3 C:\x\p\ and
    // 4 C:\y\q\; they arrive in batches in an order no walk keeps.
    Built built;
    std::vector<String> added;
    auto add = [&](int parent, std::string_view name, String path) {
        added.push_back(String(name));
        return built.Add(parent, name, std::move(path));
    };
    TreeAssembler<int> assembler(0);
    std::vector<WalkedFolder> arrived{{4, 2, "C:\\y\\q\\"}, {2, 0, "C:\\y\\"}};
    assembler.Add(arrived, add);
    EXPECT_TRUE(added.empty()) << "nothing can be added before folder 1";
    EXPECT_TRUE(arrived.empty());
    arrived = {{1, 0, "C:\\x\\"}};
    assembler.Add(arrived, add);
    EXPECT_EQ(added, (std::vector<String>{"x", "y"}));
    EXPECT_TRUE(assembler.Waiting()) << "q waits for p";
    arrived = {{3, 1, "C:\\x\\p\\"}};
    assembler.Add(arrived, add);
    EXPECT_EQ(added, (std::vector<String>{"x", "y", "p", "q"}));
    EXPECT_EQ(assembler.Added(), 4u);
    EXPECT_FALSE(assembler.Waiting());
    Lines actual;
    built.Preorder(0, actual);
    EXPECT_EQ(actual, (Lines{"1|x|C:\\x\\", "2|p|C:\\x\\p\\", "1|y|C:\\y\\", "2|q|C:\\y\\q\\"}));
}

TEST(WalkSharing, BatchesPassOnWholeInOrderAndTheirStorageGoesBackToTheWalkers)
{
    constexpr FolderNumber kBatch = FolderHandover::kBatch;
    FolderHandover handover;
    std::vector<WalkedFolder> batch;
    std::vector<WalkedFolder> taken;
    FolderNumber next = 1;
    auto give = [&](FolderNumber count, bool atOnce) {
        for (FolderNumber end = next + count; next < end; ++next)
            batch.push_back({next, 0, "C:\\f" + std::to_string(next) + "\\"});
        handover.Give(batch, atOnce);
    };
    // Numbers first..last, and each path still with its folder.
    auto tookExactly = [&](FolderNumber first, FolderNumber last) {
        handover.TakeAll(taken);
        bool whole = taken.size() == last - first + 1;
        for (std::size_t i = 0; whole && i < taken.size(); ++i)
            whole = taken[i].number == first + i && taken[i].path == "C:\\f" + std::to_string(first + i) + "\\";
        return whole;
    };

    give(kBatch - 1, false);
    EXPECT_EQ(batch.size(), kBatch - 1) << "short of a batch, a walker keeps its folders until it stops";
    handover.Give(batch, true);
    give(kBatch, false);
    EXPECT_TRUE(batch.empty());
    EXPECT_TRUE(tookExactly(1, 2 * kBatch - 1));

    // The storage the calling thread empties goes back with its next look
    // and is what a walker fills after that: no batch is allocated anew.
    const WalkedFolder* emptied = taken.data();
    give(kBatch, false);
    EXPECT_TRUE(tookExactly(2 * kBatch, 3 * kBatch - 1)) << "what `taken` held is not handed back again";
    give(kBatch, false);
    EXPECT_EQ(batch.data(), emptied);
    EXPECT_GE(batch.capacity(), kBatch);
    EXPECT_TRUE(tookExactly(3 * kBatch, 4 * kBatch - 1));
}

TEST(WalkSharing, TheTreeGrowsOnTheCallingThreadWhileTheSearchesRun)
{
    // 600 folders, more than a walker hands over at once: the last one's
    // listing is held until the calling thread has added nodes, which it
    // can only have done while the searches still ran.
    FakeSource source;
    for (int i = 0; i < 600; ++i) {
        String name = "f";
        name += std::to_string(i);
        source.folders["C:\\"].push_back({name, kFolder});
        source.folders["C:\\" + name + "\\"] = {};
    }
    const std::thread::id caller = std::this_thread::get_id();
    std::atomic<int> added{0};
    std::atomic<bool> addedElsewhere{false};
    std::atomic<bool> heldInVain{false};
    source.beforeList = [&](const String& path) {
        if (path != "C:\\f599\\")
            return;
        const auto until = std::chrono::steady_clock::now() + kPatience;
        while (added == 0 && std::chrono::steady_clock::now() < until)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        heldInVain = added == 0;
    };
    Built built;
    WalkFolders(
        source, "C:\\", 0,
        [&](int parent, std::string_view name, String path) {
            addedElsewhere = addedElsewhere || std::this_thread::get_id() != caller;
            ++added;
            return built.Add(parent, name, std::move(path));
        },
        2);
    EXPECT_FALSE(heldInVain) << "no node was added before the searches ended";
    EXPECT_FALSE(addedElsewhere);
    Lines expected;
    ReferenceWalk(source, "C:\\", 0, expected);
    Lines actual;
    built.Preorder(0, actual);
    EXPECT_EQ(actual, expected);
}

TEST(WalkSharing, AFailureOnAWorkerThreadStopsBothWalkersAndReachesTheCaller)
{
    FakeSource source;
    AddBranches(source);
    source.beforeList = [](const String& path) {
        if (path == "C:\\A\\a3\\")
            throw std::runtime_error("unreadable");
    };
    int added = 0;
    // Run where a hang shows as a failure instead of stopping the suite.
    std::packaged_task<String()> walk([&] {
        try {
            WalkFolders(
                source, "C:\\", 0, [&](int, std::string_view, const String&) { return ++added; }, 2);
        } catch (const std::runtime_error& e) {
            return String(e.what());
        }
        return String("returned");
    });
    std::future<String> outcome = walk.get_future();
    std::thread(std::move(walk)).detach();
    ASSERT_EQ(outcome.wait_for(kPatience), std::future_status::ready) << "the walk hangs";
    EXPECT_EQ(outcome.get(), "unreadable");
    // Both walkers were joined before the failure was passed on: nothing
    // lists any more, now or later.
    EXPECT_EQ(source.Active(), 0);
    const std::size_t listed = source.ListedBy().size();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(source.ListedBy().size(), listed);
}

} // namespace
