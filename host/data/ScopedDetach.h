#pragma once

#include <utility>

namespace fai {

// Takes a handler off its event for the life of the scope and puts it back when the scope
// ends, by exception too: for programmatic assignments that must not run the handler again.
//
//     ScopedDetach quiet(cdsEfetFatu.FieldByName("QTCOMEFATU").OnChange);
//     qtComeFatu.SetAsFloat(total);
template <typename Handler>
class [[nodiscard]] ScopedDetach {
  public:
    explicit ScopedDetach(Handler& slot) : slot_(slot), saved_(std::exchange(slot, Handler())) {}
    ~ScopedDetach() { slot_ = std::move(saved_); }
    ScopedDetach(const ScopedDetach&) = delete;
    ScopedDetach& operator=(const ScopedDetach&) = delete;

  private:
    Handler& slot_;
    Handler saved_;
};

}  // namespace fai
