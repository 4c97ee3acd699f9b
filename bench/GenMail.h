// The message writer of ekview-gen: realistic EK-Mail messages in code page 932.
#pragma once

#include <cstdint>
#include <string>

namespace ek::gen {

struct GenOptions {
    std::uint64_t seed = 0;
    std::uint64_t messages = 0;
    std::uint32_t crlfPercent = 20;
};

// Message i is a pure function of the options and i, so replies can name parents that are
// written later and any message can be written without the others.
class MailGenerator {
  public:
    explicit MailGenerator(const GenOptions& options) : options_(options) {}

    // Appends message `index` (0 to messages - 1) to `out`.
    void AppendMessage(std::uint64_t index, std::string& out) const;

  private:
    struct Plan;
    struct Person;
    struct Subject;
    class Writer;

    Plan PlanAt(std::uint64_t index) const;
    std::uint64_t RootOf(std::uint64_t index) const;
    Person PersonAt(std::uint64_t key) const;
    std::uint64_t SenderOf(std::uint64_t index) const;
    Subject SubjectOf(std::uint64_t root) const;
    std::uint64_t Stream(std::uint64_t tag, std::uint64_t index) const;

    GenOptions options_;
};

}  // namespace ek::gen
