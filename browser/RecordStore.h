#pragma once
// Records owned by one keeper and handed out as plain pointers: the folder
// tree's nodes point at their path records, the window owns them. Records
// live in blocks that never move (a hundred thousand folders cost a hundred
// allocations), each can be released on its own at most once, and whatever
// is still held goes with the store.
#include <cstddef>
#include <memory>
#include <new>
#include <utility>
#include <vector>

template <class Record>
class RecordStore {
public:
    RecordStore() = default;
    RecordStore(const RecordStore&) = delete;
    RecordStore& operator=(const RecordStore&) = delete;
    ~RecordStore() { ReleaseAll(); }

    template <class... Args>
    Record* Add(Args&&... args)
    {
        if (usedInLastBlock_ == kBlockRecords) {
            blocks_.push_back(std::make_unique<Slot[]>(kBlockRecords));
            usedInLastBlock_ = 0;
        }
        Slot& slot = blocks_.back()[usedInLastBlock_];
        Record* record = ::new (static_cast<void*>(slot.bytes)) Record(std::forward<Args>(args)...);
        slot.held = true;
        ++usedInLastBlock_;
        ++held_;
        return record;
    }

    // Releases a record that Add returned; false, and nothing done, when it
    // was released already.
    bool Release(Record* record) noexcept
    {
        if (!record)
            return false;
        Slot& slot = SlotOf(record);
        if (!slot.held)
            return false;
        slot.held = false;
        --held_;
        record->~Record();
        return true;
    }

    // Releases every record still held, in no particular order.
    void ReleaseAll() noexcept
    {
        for (std::size_t b = 0; b < blocks_.size(); ++b) {
            const std::size_t used = b + 1 == blocks_.size() ? usedInLastBlock_ : kBlockRecords;
            for (std::size_t i = 0; i < used; ++i)
                if (blocks_[b][i].held)
                    Release(std::launder(reinterpret_cast<Record*>(blocks_[b][i].bytes)));
        }
        blocks_.clear();
        usedInLastBlock_ = kBlockRecords;
    }

    std::size_t Held() const { return held_; }

private:
    static constexpr std::size_t kBlockRecords = 1024;
    struct Slot {
        alignas(Record) unsigned char bytes[sizeof(Record)];
        bool held = false;
    };

    static Slot& SlotOf(Record* record)
    {
        // The record was made in the first member of its slot.
        return *reinterpret_cast<Slot*>(reinterpret_cast<unsigned char*>(record) - offsetof(Slot, bytes));
    }

    std::vector<std::unique_ptr<Slot[]>> blocks_;
    std::size_t usedInLastBlock_ = kBlockRecords;
    std::size_t held_ = 0;
};
