#pragma once
// The players' pages as the web server sees them: an immutable copy that the user-interface
// thread renders after each refresh and swaps in, so the server never reads the record.
#include <memory>
#include <mutex>

#include "publish/player_pages.h"

namespace quelna {

using PageSnapshot = PlayerPages;

class SnapshotSlot {
  public:
    // The mutex is held only for the swap; the old snapshot goes when its last reader lets go.
    void publish(std::shared_ptr<const PageSnapshot> snapshot) {
        std::lock_guard<std::mutex> lock(mutex_);
        current_.swap(snapshot);
    }
    std::shared_ptr<const PageSnapshot> current() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return current_;
    }

  private:
    mutable std::mutex mutex_;
    std::shared_ptr<const PageSnapshot> current_;
};

} // namespace quelna
