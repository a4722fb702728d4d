#pragma once
// The players' pages as the web server sees them: an immutable copy, each page already
// compressed, that the user-interface thread makes after each refresh and swaps in, so the
// server never reads the record and never compresses while a phone waits.
#include <array>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "publish/player_pages.h"

namespace quelna {

enum class Encoding { Identity, Gzip };

struct ServedPage {
    std::string identity;
    std::string gzip; // empty when not made
    std::string tag;  // the entity tag of the page, without quotes or encoding suffix
    const char* type = "";

    const std::string& body(Encoding e) const;
    // The quoted entity tag of one encoded form.
    std::string etag(Encoding e) const;
};

// The pages of one language.
struct ServedSite {
    std::array<ServedPage, kPlayerPageFiles.size()> pages; // in the order of kPlayerPageFiles
    ServedPage my;                                         // my.html
    std::map<int, ServedPage> personal;                    // p/<n>, by start number from 1
};

struct PageSnapshot {
    std::array<ServedSite, 2> sites; // in the order of kPageLanguages

    const ServedSite& site(PageLanguage language) const {
        return sites[language == PageLanguage::English ? 1 : 0];
    }
};

// Compresses every page of both languages (a few hundred milliseconds for 200 players), but for
// pages that are byte for byte those of `previous`, whose compressed form is taken over: while
// a round is typed only the pages that show it change.
std::shared_ptr<const PageSnapshot>
makePageSnapshot(const std::array<PlayerPages, 2>& pages,
                 const std::shared_ptr<const PageSnapshot>& previous = nullptr);
// The same pages under both languages (a record rendered once).
std::shared_ptr<const PageSnapshot> makePageSnapshot(const PlayerPages& pages);

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
