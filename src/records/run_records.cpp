// Credit records and their tables.
#include "records/run_records.h"

#include <cstring>

namespace tarvenix {

void CreditRecord::set_call(std::string_view text) {
  const size_t n = text.size() < credit_call_size - 1 ? text.size() : credit_call_size - 1;
  if (n > 0) std::memcpy(call, text.data(), n);
  call[n] = '\0';
}

CreditRecord* CreditTable::find(int index) {
  if (index < 0 || index >= size()) return nullptr;
  std::optional<CreditRecord>& slot = slots_[static_cast<size_t>(index)];
  return slot ? &*slot : nullptr;
}

const CreditRecord* CreditTable::find(int index) const {
  return const_cast<CreditTable*>(this)->find(index);
}

CreditRecord* CreditTable::create(int index) {
  if (index < 0 || index >= size()) return nullptr;
  return &slots_[static_cast<size_t>(index)].emplace();
}

void CreditTable::clear() {
  for (std::optional<CreditRecord>& slot : slots_) slot.reset();
}

}  // namespace tarvenix
