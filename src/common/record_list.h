#pragma once
// A list of (key text, owned record) pairs: kept in insertion order, or sorted by key
// (case-insensitively) with duplicates either ignored or refused.

#include <QString>
#include <algorithm>
#include <memory>
#include <stdexcept>
#include <utility>
#include <vector>

namespace krinu {

enum class DuplicateKeys { Accept, Ignore, Error };

class DuplicateKeyError : public std::runtime_error {
 public:
  DuplicateKeyError() : std::runtime_error("String list does not allow duplicates") {}
};

template <class T>
class TRecordList {
 public:
  struct Entry {
    QString Key;
    std::unique_ptr<T> Object;
  };

  explicit TRecordList(bool sorted = false, DuplicateKeys duplicates = DuplicateKeys::Accept)
      : sorted_(sorted), duplicates_(duplicates) {}

  // Returns the index the entry took, or -1 when a duplicate was ignored.
  int Add(const QString& key, std::unique_ptr<T> object) {
    if (!sorted_) {
      entries_.push_back(Entry{key, std::move(object)});
      return int(entries_.size()) - 1;
    }
    auto it =
        std::lower_bound(entries_.begin(), entries_.end(), key,
                         [](const Entry& e, const QString& k) { return Compare(e.Key, k) < 0; });
    if (it != entries_.end() && Compare(it->Key, key) == 0) {
      if (duplicates_ == DuplicateKeys::Ignore) return -1;
      if (duplicates_ == DuplicateKeys::Error) throw DuplicateKeyError();
    }
    const int index = int(it - entries_.begin());
    entries_.insert(it, Entry{key, std::move(object)});
    return index;
  }

  void Clear() { entries_.clear(); }
  int Count() const { return int(entries_.size()); }
  bool Empty() const { return entries_.empty(); }
  const QString& Key(int i) const { return entries_.at(size_t(i)).Key; }
  T* Object(int i) const { return entries_.at(size_t(i)).Object.get(); }
  void Delete(int i) { entries_.erase(entries_.begin() + i); }
  int IndexOf(const QString& key) const {
    for (int i = 0; i < Count(); ++i)
      if (Compare(entries_[size_t(i)].Key, key) == 0) return i;
    return -1;
  }
  auto begin() const { return entries_.begin(); }
  auto end() const { return entries_.end(); }

  static int Compare(const QString& a, const QString& b) {
    return QString::compare(a, b, Qt::CaseInsensitive);
  }

 private:
  bool sorted_;
  DuplicateKeys duplicates_;
  std::vector<Entry> entries_;
};

}  // namespace krinu
