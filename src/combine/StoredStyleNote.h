#pragma once

#include <optional>
#include <string>

#include "combine/UploadPorts.h"

namespace vantrel {

class CombineLists;

// Passes the upload's link through and remembers the slot the keyboard last confirmed a style
// in, so the window can say afterwards what it put there.
class StoreRecordingLink final : public UploadLink {
  public:
    explicit StoreRecordingLink(UploadLink& inner) : inner_(inner) {}

    bool Ready() const override { return inner_.Ready(); }
    bool Download(const std::filesystem::path& image, int slot,
                  const DownloadSteps& steps) override;
    bool Cancelled() const override { return inner_.Cancelled(); }

    std::optional<int> StoredSlot() const { return stored_; }

  private:
    UploadLink& inner_;
    std::optional<int> stored_;
};

// What an upload of these lists put in a slot: when, then one line per part in block order with
// its file name and the bytes it took, e.g. "Fill 2: swing.mid, 1,312 bytes".
std::string StoredStyleNote(const CombineLists& lists, const std::string& when);

}  // namespace vantrel
