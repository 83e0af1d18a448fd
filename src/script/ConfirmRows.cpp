#include "script/ConfirmRows.h"

#include <charconv>

namespace vek {

std::vector<std::string> ConfirmRowTexts(const TMainOptionList& aOptions) {
  std::vector<std::string> rows;
  for (std::size_t i = 0; i < aOptions.Count(); ++i) {
    const TMainOption* main = aOptions.Option(i);
    if (main == nullptr || (main->GetState() != 1 && main->GetState() != 2)) continue;
    rows.push_back(std::to_string(i));
    for (std::size_t j = 0; j < main->SubOption.Count(); ++j) {
      const TSubOption* sub = main->SubOptionAt(j);
      if (sub != nullptr && sub->State != 0) rows.push_back(std::to_string(i) + "." + std::to_string(j));
    }
  }
  return rows;
}

namespace {

std::optional<std::size_t> ParseIndex(const std::string& aText, std::size_t aFrom, std::size_t aTo) {
  std::size_t value = 0;
  const char* first = aText.data() + aFrom;
  const char* last = aText.data() + aTo;
  if (first == last) return std::nullopt;
  const auto [end, error] = std::from_chars(first, last, value);
  if (error != std::errc() || end != last) return std::nullopt;
  return value;
}

}  // namespace

std::optional<TConfirmRow> ParseConfirmRow(const std::string& aText) {
  const std::size_t dot = aText.find('.');
  const std::optional<std::size_t> main = ParseIndex(aText, 0, dot == std::string::npos ? aText.size() : dot);
  if (!main) return std::nullopt;
  if (dot == std::string::npos) return TConfirmRow{*main, std::nullopt};
  const std::optional<std::size_t> sub = ParseIndex(aText, dot + 1, aText.size());
  if (!sub) return std::nullopt;
  return TConfirmRow{*main, sub};
}

}  // namespace vek
