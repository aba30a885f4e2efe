#include "core/processes/copies_question.hpp"

namespace zvkob {

std::uint32_t holder_answer(unsigned long process_id, std::optional<std::uint32_t> held_with_mark,
                            std::uint32_t asker_mark) {
    if (!held_with_mark) {
        return 0;
    }
    const auto id = static_cast<std::uint32_t>(process_id);
    return asker_mark != 0 && *held_with_mark == asker_mark ? ~id : id;
}

CopiesAnswer reply_meaning(const CopyReply& reply, unsigned long process_id) {
    if (!reply.delivered) {
        return reply.access_denied || !reply.window_remains ? CopiesAnswer::none_holds_it
                                                            : CopiesAnswer::one_did_not_answer;
    }
    const auto id = static_cast<std::uint32_t>(process_id);
    const auto value = static_cast<std::uint32_t>(reply.value);
    if (id == 0 || reply.value > UINT32_MAX) {
        return CopiesAnswer::none_holds_it;
    }
    if (value == id) {
        return CopiesAnswer::another_holds_it;
    }
    return value == static_cast<std::uint32_t>(~id) ? CopiesAnswer::another_holds_it_here
                                                    : CopiesAnswer::none_holds_it;
}

}  // namespace zvkob
