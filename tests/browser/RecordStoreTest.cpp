#include "browser/RecordStore.h"

#include <gtest/gtest.h>
#include <stdexcept>
#include <vector>

namespace {

// Notes its own release in a log shared by the test.
struct Logged {
    Logged(int ownId, std::vector<int>* releases) : id(ownId), log(releases) {}
    ~Logged() { log->push_back(id); }
    Logged(const Logged&) = delete;
    Logged& operator=(const Logged&) = delete;
    int id;
    std::vector<int>* log;
};

struct Refusing {
    explicit Refusing(bool refuse)
    {
        if (refuse)
            throw std::runtime_error("refused");
    }
};

// How often each of `count` records was released, by id.
std::vector<int> ReleaseCounts(const std::vector<int>& log, int count)
{
    std::vector<int> counts(static_cast<std::size_t>(count), 0);
    for (int id : log)
        ++counts.at(static_cast<std::size_t>(id));
    return counts;
}

TEST(RecordStore, EachRecordIsReleasedExactlyOnceWhicheverWayItGoes)
{
    // Several blocks' worth: releases by hand and by the store's end mix.
    struct Case {
        const char* name;
        int count;
        int releaseEvery; // released by hand: every n-th id (0: none)
    };
    for (const Case& c : {Case{"none by hand", 3, 0}, Case{"all by hand", 2500, 1}, Case{"every third", 2500, 3},
                          Case{"one block exactly", 1024, 2}}) {
        SCOPED_TRACE(c.name);
        std::vector<int> log;
        std::vector<Logged*> records;
        {
            RecordStore<Logged> store;
            for (int id = 0; id < c.count; ++id)
                records.push_back(store.Add(id, &log));
            for (int id = 0; id < c.count; ++id)
                EXPECT_EQ(records[static_cast<std::size_t>(id)]->id, id) << "records moved or were overwritten";
            int byHand = 0;
            for (int id = 0; c.releaseEvery && id < c.count; id += c.releaseEvery) {
                EXPECT_TRUE(store.Release(records[static_cast<std::size_t>(id)]));
                EXPECT_FALSE(store.Release(records[static_cast<std::size_t>(id)])) << "released twice";
                ++byHand;
            }
            EXPECT_EQ(static_cast<int>(log.size()), byHand);
            EXPECT_EQ(static_cast<int>(store.Held()), c.count - byHand);
        }
        EXPECT_EQ(ReleaseCounts(log, c.count), std::vector<int>(static_cast<std::size_t>(c.count), 1));
    }
}

TEST(RecordStore, ReleasesHappenWhenAndInTheOrderAsked)
{
    std::vector<int> log;
    RecordStore<Logged> store;
    std::vector<Logged*> records;
    for (int id = 0; id < 5; ++id)
        records.push_back(store.Add(id, &log));
    store.Release(records[3]);
    store.Release(records[0]);
    store.Release(records[4]);
    EXPECT_EQ(log, (std::vector<int>{3, 0, 4}));
    EXPECT_FALSE(store.Release(nullptr));
    store.ReleaseAll();
    EXPECT_EQ(ReleaseCounts(log, 5), std::vector<int>(5, 1));
    EXPECT_EQ(store.Held(), 0u);
    // The store stays usable after everything went.
    store.Add(7, &log);
    EXPECT_EQ(store.Held(), 1u);
    store.ReleaseAll();
    EXPECT_EQ(log.back(), 7);
}

TEST(RecordStore, ARecordThatFailsToBeMadeIsNotHeld)
{
    RecordStore<Refusing> store;
    store.Add(false);
    EXPECT_THROW(store.Add(true), std::runtime_error);
    EXPECT_EQ(store.Held(), 1u);
    store.Add(false);
    EXPECT_EQ(store.Held(), 2u);
}

} // namespace
