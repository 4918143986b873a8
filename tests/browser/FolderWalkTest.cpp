#include "browser/FolderWalk.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <gtest/gtest.h>
#include <map>
#include <mutex>
#include <optional>
#include <ostream>
#include <random>
#include <stdexcept>
#include <thread>
#include <vector>

namespace {

struct Entry {
    String name;
    std::uint32_t attributes;
};

constexpr std::uint32_t kFolder = kDirectoryAttribute;
constexpr std::uint32_t kLink = kDirectoryAttribute | kReparsePointAttribute;
constexpr std::uint32_t kFile = 0x20;

// Folders by path; a link's listing and identity are those of its target.
class FakeSource {
public:
    std::map<String, std::vector<Entry>> folders;
    std::map<String, String> links; // link path -> target path
    std::atomic<int> lists{0};

    String Resolve(const String& path) const
    {
        // Follow links on any prefix of the path, as the platform does.
        for (const auto& [link, target] : links)
            if (path.rfind(link, 0) == 0 && (path.size() == link.size() || path[link.size()] == '\\'))
                return Resolve(target + path.substr(link.size()));
        return path;
    }

    template <class Visit>
    bool List(const String& path, Visit&& visit)
    {
        ++lists;
        const auto found = folders.find(Resolve(path));
        if (found == folders.end())
            return false;
        for (const Entry& e : found->second)
            if (!visit(std::string_view(e.name), e.attributes))
                break;
        return true;
    }

    std::optional<String> Identify(const String& path)
    {
        const String real = Resolve(path);
        if (!folders.count(real))
            return std::nullopt;
        return real;
    }
};

struct Node {
    String text;
    String path;
    std::vector<int> children;
};

class Tree {
public:
    Tree() { nodes.push_back({"root", "C:\\", {}}); }
    std::vector<Node> nodes;

    int Add(int parent, std::string_view name, const String& path)
    {
        nodes.push_back({String(name), path, {}});
        const int id = static_cast<int>(nodes.size()) - 1;
        nodes[static_cast<std::size_t>(parent)].children.push_back(id);
        return id;
    }

    std::vector<String> Children(int id) const
    {
        std::vector<String> texts;
        for (int child : nodes[static_cast<std::size_t>(id)].children)
            texts.push_back(nodes[static_cast<std::size_t>(child)].text);
        return texts;
    }

    int Find(const String& path) const
    {
        for (std::size_t i = 0; i < nodes.size(); ++i)
            if (nodes[i].path == path)
                return static_cast<int>(i);
        return -1;
    }
};

// Every case runs with the searches on the calling thread, on two workers, and
// on three: there two can sleep at once while a hand-over wakes only one.
class FolderWalk : public ::testing::TestWithParam<unsigned> {
protected:
    void Walk(FakeSource& source, Tree& tree)
    {
        WalkFolders(
            source, "C:\\", 0,
            [&tree](int parent, std::string_view name, const String& path) { return tree.Add(parent, name, path); },
            GetParam());
    }
};

TEST_P(FolderWalk, DotNamesAndEverythingBelowThemAreLeftOut)
{
    FakeSource source;
    source.folders["C:\\"] = {{".config", kFolder}, {"visible", kFolder | 0x2 | 0x4 | 0x1}};
    source.folders["C:\\.config\\"] = {{"inner", kFolder}};
    source.folders["C:\\visible\\"] = {{".hidden", kFolder}, {"x.y", kFolder}};
    source.folders["C:\\visible\\x.y\\"] = {};
    Tree tree;
    Walk(source, tree);
    EXPECT_EQ(tree.Children(0), (std::vector<String>{"visible"}));
    EXPECT_EQ(tree.Children(tree.Find("C:\\visible\\")), (std::vector<String>{"x.y"}));
    EXPECT_EQ(tree.Find("C:\\.config\\inner\\"), -1);
    EXPECT_EQ(source.lists.load(), 3); // .config was never searched
}

TEST_P(FolderWalk, AFolderThatCannotBeSearchedKeepsItsNodeWithoutChildren)
{
    FakeSource source;
    source.folders["C:\\"] = {{"locked", kFolder}, {"after", kFolder}};
    source.folders["C:\\after\\"] = {{"child", kFolder}};
    source.folders["C:\\after\\child\\"] = {};
    Tree tree;
    Walk(source, tree);
    EXPECT_EQ(tree.Children(0), (std::vector<String>{"locked", "after"}));
    EXPECT_TRUE(tree.Children(tree.Find("C:\\locked\\")).empty());
    EXPECT_EQ(tree.Children(tree.Find("C:\\after\\")), (std::vector<String>{"child"}));
}

TEST_P(FolderWalk, LinksBackToAnAncestorGetNoChildrenAndTheWalkEnds)
{
    FakeSource source;
    source.folders["C:\\"] = {{"top", kFolder}};
    source.folders["C:\\top\\"] = {{"loop1", kLink}, {"loop2", kLink}, {"toRoot", kLink}, {"real", kFolder}};
    source.folders["C:\\top\\real\\"] = {};
    source.links["C:\\top\\loop1"] = "C:\\top";
    source.links["C:\\top\\loop2"] = "C:\\top";
    source.links["C:\\top\\toRoot"] = "C:";
    Tree tree;
    Walk(source, tree);
    EXPECT_EQ(tree.Children(tree.Find("C:\\top\\")), (std::vector<String>{"loop1", "loop2", "toRoot", "real"}));
    EXPECT_TRUE(tree.Children(tree.Find("C:\\top\\loop1\\")).empty());
    EXPECT_TRUE(tree.Children(tree.Find("C:\\top\\loop2\\")).empty());
    EXPECT_TRUE(tree.Children(tree.Find("C:\\top\\toRoot\\")).empty());
    EXPECT_EQ(tree.nodes.size(), 6u);
}

TEST_P(FolderWalk, ALinkElsewhereIsWalkedLikeAFolder)
{
    FakeSource source;
    source.folders["C:\\"] = {{"data", kFolder}, {"shortcut", kLink}};
    source.folders["C:\\data\\"] = {{"inside", kFolder}};
    source.folders["C:\\data\\inside\\"] = {};
    source.links["C:\\shortcut"] = "C:\\data";
    Tree tree;
    Walk(source, tree);
    EXPECT_EQ(tree.Children(tree.Find("C:\\shortcut\\")), (std::vector<String>{"inside"}));
}

TEST_P(FolderWalk, ChainThousandsDeepDoesNotRecurse)
{
    FakeSource source;
    String path = "C:\\";
    for (int depth = 0; depth < 3000; ++depth) {
        source.folders[path] = {{"d", kFolder}};
        path += "d\\";
    }
    source.folders[path] = {};
    Tree tree;
    Walk(source, tree);
    EXPECT_EQ(tree.nodes.size(), 3001u);
    EXPECT_EQ(tree.nodes.back().path, path);
}

// One node of a tree in depth-first order: what a user sees of it.
struct Seen {
    String text;
    String path;
    int depth;
    bool operator==(const Seen& other) const
    {
        return text == other.text && path == other.path && depth == other.depth;
    }
};

std::ostream& operator<<(std::ostream& out, const Seen& seen)
{
    return out << seen.depth << ' ' << seen.text << ' ' << seen.path;
}

// The walk as a plain recursion would do it: descend into every folder
// whose name does not begin with a full stop, unless it is a link to a
// folder already on the way down.
void ReferenceWalk(FakeSource& source, const String& path, int depth, std::vector<String>& way, std::vector<Seen>& out)
{
    std::vector<Entry> entries;
    source.List(path, [&](std::string_view name, std::uint32_t attributes) {
        entries.push_back({String(name), attributes});
        return true;
    });
    for (const Entry& entry : entries) {
        if (!(entry.attributes & kFolder) || entry.name.empty() || entry.name[0] == '.')
            continue;
        const String child = path + entry.name + "\\";
        out.push_back({entry.name, child, depth + 1});
        const auto id = source.Identify(child);
        const bool loops =
            (entry.attributes & kReparsePointAttribute) && id && std::find(way.begin(), way.end(), *id) != way.end();
        if (loops)
            continue;
        way.push_back(id.value_or(String()));
        ReferenceWalk(source, child, depth + 1, way, out);
        way.pop_back();
    }
}

std::vector<Seen> Reference(FakeSource& source)
{
    std::vector<Seen> out{{"root", "C:\\", 0}};
    std::vector<String> way{source.Identify("C:\\").value_or(String())};
    ReferenceWalk(source, "C:\\", 0, way, out);
    return out;
}

void Flatten(const Tree& tree, int id, int depth, std::vector<Seen>& out)
{
    const Node& node = tree.nodes[static_cast<std::size_t>(id)];
    out.push_back({node.text, node.path, depth});
    for (int child : node.children)
        Flatten(tree, child, depth + 1, out);
}

std::vector<Seen> Flatten(const Tree& tree)
{
    std::vector<Seen> out;
    Flatten(tree, 0, 0, out);
    return out;
}

// A drive of some thousand folders in random places, with files, dot
// folders, links to other folders and one back to the root.
void MakeRandomDrive(FakeSource& source, unsigned seed)
{
    std::mt19937 random(seed);
    std::vector<String> folders{"C:\\"};
    source.folders["C:\\"];
    for (int i = 0; i < 3000; ++i) {
        const String parent = folders[random() % folders.size()];
        String name(random() % 20 == 0 ? "." : "n");
        name += std::to_string(random() % 50000);
        if (source.folders.count(parent + name + "\\"))
            continue;
        source.folders[parent].push_back({name, kFolder});
        source.folders[parent].push_back({name + ".txt", kFile});
        source.folders[parent + name + "\\"];
        folders.push_back(parent + name + "\\");
    }
    for (int i = 0; i < 4; ++i) {
        const String at = folders[random() % folders.size()];
        const String target = folders[random() % folders.size()];
        String name = "link";
        name += std::to_string(i);
        source.folders[at].push_back({name, kLink});
        source.links[at + name] = target.substr(0, target.size() - 1);
    }
    source.folders["C:\\"].push_back({"back", kLink});
    source.links["C:\\back"] = "C:";
}

TEST_P(FolderWalk, BuildsTheTreeOfAPlainRecursiveWalkNodeForNode)
{
    for (unsigned seed : {7u, 8u, 9u}) {
        FakeSource source;
        MakeRandomDrive(source, seed);
        const std::vector<Seen> expected = Reference(source);
        Tree tree;
        Walk(source, tree);
        EXPECT_EQ(Flatten(tree), expected) << "drive " << seed;
        EXPECT_GT(expected.size(), 1000u);
    }
}

// Holds the walk on the root until it has reported its progress at least
// once: with workers the report comes from the calling thread while a worker
// waits here; without, the calling thread is the one held, for longer than
// the walk waits between two reports, and reports when it has read enough.
class HoldingSource : public FakeSource {
public:
    explicit HoldingSource(bool holdsTheCaller) : inline_(holdsTheCaller) {}

    template <class Visit>
    bool List(const String& path, Visit&& visit)
    {
        if (path == "C:\\") {
            if (inline_) {
                std::this_thread::sleep_for(kWalkProgressInterval + std::chrono::milliseconds(50));
            } else {
                std::unique_lock<std::mutex> lock(mutex_);
                reported_.wait_for(lock, std::chrono::seconds(30), [&] { return reports_ > 0; });
            }
        }
        return FakeSource::List(path, visit);
    }

    void Reported()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        ++reports_;
        reported_.notify_all();
    }

private:
    bool inline_;
    std::mutex mutex_;
    std::condition_variable reported_;
    int reports_ = 0;
};

void AddFlatFolders(FakeSource& source, int count)
{
    source.folders["C:\\"];
    for (int i = 0; i < count; ++i) {
        String name = "f";
        name += std::to_string(i);
        source.folders["C:\\"].push_back({name, kFolder});
        source.folders["C:\\" + name + "\\"] = {{"sub", kFolder}};
        source.folders["C:\\" + name + "\\sub\\"];
    }
}

TEST_P(FolderWalk, ProgressIsReportedOnTheCallingThreadWithoutChangingTheTree)
{
    HoldingSource source(GetParam() == 0);
    AddFlatFolders(source, 200);
    const std::vector<Seen> expected = Reference(source);
    const std::thread::id caller = std::this_thread::get_id();
    std::vector<std::size_t> counts;
    std::vector<String> readings;
    bool onCaller = true;
    Tree tree;
    WalkFolders(
        source, "C:\\", 0,
        [&tree](int parent, std::string_view name, const String& path) { return tree.Add(parent, name, path); },
        GetParam(),
        [&](std::size_t read, const String& current) {
            counts.push_back(read);
            readings.push_back(current);
            onCaller = onCaller && std::this_thread::get_id() == caller;
            source.Reported();
        });
    EXPECT_EQ(Flatten(tree), expected);
    ASSERT_FALSE(counts.empty()) << "the walk was held past its first report";
    EXPECT_TRUE(std::is_sorted(counts.begin(), counts.end()));
    EXPECT_LE(counts.back(), expected.size());
    EXPECT_TRUE(onCaller);
    for (const String& reading : readings)
        EXPECT_TRUE(reading.empty() || std::any_of(expected.begin(), expected.end(),
                                                   [&](const Seen& seen) { return seen.path == reading; }))
            << "not a folder of the drive: " << reading;
}

TEST_P(FolderWalk, AFailingProgressReportStopsTheWalkCleanly)
{
    HoldingSource source(GetParam() == 0);
    AddFlatFolders(source, 200);
    Tree tree;
    EXPECT_THROW(
        WalkFolders(
            source, "C:\\", 0,
            [&tree](int parent, std::string_view name, const String& path) { return tree.Add(parent, name, path); },
            GetParam(),
            [&](std::size_t, const String&) {
                source.Reported();
                throw std::runtime_error("window failed");
            }),
        std::runtime_error);
    EXPECT_EQ(tree.nodes.size(), 1u) << "no node is added once the walk has failed";
}

// Where in the walk the user asks for it to stop.
enum class StopPoint { BeforeTheWalk, InTheMiddleOfAWideFolder, AsTheLastFolderEnds };

// A drive of ordinary folders with one of 20,000 subfolders among them. The
// stop is asked for on the calling thread, where the progress window takes
// the user's click: a walker that reaches the chosen point waits there until
// it has been asked, then goes on as far as the walk lets it.
class StoppingSource : public FakeSource {
public:
    static constexpr int kWide = 20000;

    StoppingSource(StopPoint point, std::thread::id caller) : point_(point), caller_(caller)
    {
        AddFlatFolders(*this, 40);
        folders["C:\\f7\\sub\\"] = {};
        for (int i = 0; i < kWide; ++i) {
            String name = "w";
            name += std::to_string(i);
            folders["C:\\f7\\sub\\"].push_back({name, kFolder});
        }
        // Every folder of the tree is listed once, the root's included.
        total_ = static_cast<int>(Reference(*this).size());
    }

    template <class Visit>
    bool List(const String& path, Visit&& visit)
    {
        const int started = ++started_;
        ++active_;
        struct Leave {
            std::atomic<int>& active;
            ~Leave() { --active; }
        } leave{active_};
        if (path != "C:\\f7\\sub\\") {
            const bool result = FakeSource::List(path, visit);
            if (point_ == StopPoint::AsTheLastFolderEnds && started == total_)
                ReachStop();
            return result;
        }
        int at = 0;
        return FakeSource::List(path, [&](std::string_view name, std::uint32_t attributes) {
            if (point_ == StopPoint::InTheMiddleOfAWideFolder && at == kWide / 2)
                ReachStop();
            visitsAfterStop_ += stopAsked_ ? 1 : 0;
            ++at;
            return visit(name, attributes);
        });
    }

    // Called by the walk's callbacks on the calling thread: asks for the
    // stop once a walker has reached its point (at once when it is this
    // thread that reached it).
    template <class Walk>
    void AskIfReached(Walk& walk)
    {
        if (reached_ && !stopAsked_)
            Ask(walk);
    }
    template <class Walk>
    void Ask(Walk& walk)
    {
        walk.Stop();
        std::lock_guard<std::mutex> lock(mutex_);
        stopAsked_ = true;
        asked_.notify_all();
    }

    std::function<void()> askHere; // asks on the calling thread, from inside a listing there
    bool StopAsked() const { return stopAsked_; }
    bool Reached() const { return reached_; }
    int VisitsAfterStop() const { return visitsAfterStop_; }
    int Listings() const { return started_; }
    int Active() const { return active_; }
    int Total() const { return total_; }

private:
    void ReachStop()
    {
        reached_ = true;
        if (std::this_thread::get_id() == caller_) {
            askHere();
            return;
        }
        std::unique_lock<std::mutex> lock(mutex_);
        asked_.wait_for(lock, kPatience, [&] { return stopAsked_.load(); });
    }

    static constexpr auto kPatience = std::chrono::seconds(20);
    const StopPoint point_;
    const std::thread::id caller_;
    int total_ = 0;
    std::atomic<int> started_{0};
    std::atomic<int> active_{0};
    std::atomic<int> visitsAfterStop_{0};
    std::atomic<bool> reached_{false};
    std::atomic<bool> stopAsked_{false};
    std::mutex mutex_;
    std::condition_variable asked_;
};

TEST_P(FolderWalk, AStopAnywhereEndsEveryWalkerAndAddsNoNodeAfterIt)
{
    const std::vector<std::pair<StopPoint, const char*>> points = {
        {StopPoint::BeforeTheWalk, "before the walk"},
        {StopPoint::InTheMiddleOfAWideFolder, "in the middle of a wide folder"},
        {StopPoint::AsTheLastFolderEnds, "as the last folder ends"},
    };
    for (const auto& [point, where] : points) {
        SCOPED_TRACE(where);
        StoppingSource source(point, std::this_thread::get_id());
        const std::vector<Seen> whole = Reference(source);
        FolderTreeWalk<StoppingSource> walk(source, "C:\\", GetParam());
        source.askHere = [&] { source.Ask(walk); };
        if (point == StopPoint::BeforeTheWalk)
            source.Ask(walk);
        Tree tree;
        int addedAfterStop = 0;
        const bool complete = walk.Build(
            0,
            [&](int parent, std::string_view name, const String& path) {
                addedAfterStop += source.StopAsked() ? 1 : 0;
                const int id = tree.Add(parent, name, path);
                source.AskIfReached(walk);
                return id;
            },
            [&](std::size_t, const String&) { source.AskIfReached(walk); });
        const int listings = source.Listings();

        EXPECT_FALSE(complete) << "a stopped walk says so";
        EXPECT_EQ(addedAfterStop, 0);
        EXPECT_EQ(source.Active(), 0) << "every walker has ended when Build returns";
        if (point == StopPoint::BeforeTheWalk) {
            EXPECT_EQ(tree.nodes.size(), 1u);
        } else {
            EXPECT_TRUE(source.Reached());
            EXPECT_LE(source.VisitsAfterStop(), 1) << "the listing ends at the next entry";
        }
        if (point == StopPoint::InTheMiddleOfAWideFolder) {
            EXPECT_LT(tree.nodes.size(), whole.size() - StoppingSource::kWide / 2);
        }
        // What was added is a part of the whole tree, each node under its parent.
        for (const Node& node : tree.nodes)
            EXPECT_TRUE(std::any_of(whole.begin(), whole.end(), [&](const Seen& seen) {
                return seen.path == node.path;
            })) << node.path;
        for (const Node& node : tree.nodes)
            for (int child : node.children)
                EXPECT_EQ(tree.nodes[static_cast<std::size_t>(child)].path.rfind(node.path, 0), 0u);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        EXPECT_EQ(source.Listings(), listings) << "nothing lists after the walk has returned";
    }
}

INSTANTIATE_TEST_SUITE_P(Threads, FolderWalk, ::testing::Values(0u, 2u, 3u),
                         [](const ::testing::TestParamInfo<unsigned>& p) {
                             return p.param == 0 ? String("Inline") : String("Workers") += std::to_string(p.param);
                         });

} // namespace
