#include "archive/MaskMatch.h"

#include <string>
#include <vector>

#include "base/CaseMap.h"
#include "base/Utf.h"

namespace vek {
namespace {

struct TRange {
  char32_t First, Last;
};

struct TToken {
  enum TKind { tkLiteral, tkAnyOne, tkAnyRun, tkSet } Kind = tkLiteral;
  char32_t Char = 0;
  bool Negated = false;
  std::vector<TRange> Ranges;
};

std::u32string CodePoints(std::string_view aText) {
  std::u32string result;
  for (std::size_t pos = 0; pos < aText.size();) result += DecodeUtf8(aText, pos);
  return result;
}

bool SameLetter(char32_t aLeft, char32_t aRight) {
  return aLeft == aRight || UpperChar(aLeft) == UpperChar(aRight) || LowerChar(aLeft) == LowerChar(aRight);
}

bool InRange(char32_t aChar, const TRange& aRange) {
  const auto within = [](char32_t aC, char32_t aFirst, char32_t aLast) {
    return aC >= aFirst && aC <= aLast;
  };
  return within(aChar, aRange.First, aRange.Last) ||
         within(UpperChar(aChar), UpperChar(aRange.First), UpperChar(aRange.Last)) ||
         within(LowerChar(aChar), LowerChar(aRange.First), LowerChar(aRange.Last));
}

// Reads the set that starts after "[" at aPos; a "]" right at the start is a member.
bool ParseSet(const std::u32string& aMask, std::size_t& aPos, TToken& aToken) {
  aToken.Kind = TToken::tkSet;
  if (aPos < aMask.size() && aMask[aPos] == U'!') {
    aToken.Negated = true;
    ++aPos;
  }
  const std::size_t first = aPos;
  while (aPos < aMask.size() && (aMask[aPos] != U']' || aPos == first)) {
    TRange range{aMask[aPos], aMask[aPos]};
    if (aPos + 2 < aMask.size() && aMask[aPos + 1] == U'-' && aMask[aPos + 2] != U']') {
      range.Last = aMask[aPos + 2];
      aPos += 2;
    }
    if (range.First > range.Last) return false;
    aToken.Ranges.push_back(range);
    ++aPos;
  }
  if (aPos >= aMask.size()) return false;
  ++aPos;  // the closing "]"
  return true;
}

bool ParseMask(const std::u32string& aMask, std::vector<TToken>& aTokens) {
  for (std::size_t pos = 0; pos < aMask.size();) {
    TToken token;
    const char32_t c = aMask[pos++];
    if (c == U'*') {
      token.Kind = TToken::tkAnyRun;
    } else if (c == U'?') {
      token.Kind = TToken::tkAnyOne;
    } else if (c == U'[') {
      if (!ParseSet(aMask, pos, token)) return false;
    } else {
      token.Char = c;
    }
    aTokens.push_back(std::move(token));
  }
  return true;
}

bool MatchesOne(const TToken& aToken, char32_t aChar) {
  switch (aToken.Kind) {
    case TToken::tkLiteral: return SameLetter(aToken.Char, aChar);
    case TToken::tkAnyOne: return true;
    case TToken::tkSet:
      for (const TRange& range : aToken.Ranges) {
        if (InRange(aChar, range)) return !aToken.Negated;
      }
      return aToken.Negated;
    case TToken::tkAnyRun: return false;
  }
  return false;
}

// The classic single-backtrack wildcard match: on a mismatch, the last "*" takes one more
// character. Linear in practice and never recursive, so no mask can make it run away.
bool MatchTokens(const std::u32string& aName, const std::vector<TToken>& aTokens, std::size_t aTokenCount) {
  std::size_t n = 0, t = 0, starToken = std::string::npos, starName = 0;
  while (n < aName.size()) {
    if (t < aTokenCount && aTokens[t].Kind == TToken::tkAnyRun) {
      starToken = t++;
      starName = n;
    } else if (t < aTokenCount && MatchesOne(aTokens[t], aName[n])) {
      ++t;
      ++n;
    } else if (starToken != std::string::npos) {
      t = starToken + 1;
      n = ++starName;
    } else {
      return false;
    }
  }
  while (t < aTokenCount && aTokens[t].Kind == TToken::tkAnyRun) ++t;
  return t == aTokenCount;
}

bool EndsWithDotStar(const std::vector<TToken>& aTokens) {
  const std::size_t count = aTokens.size();
  return count >= 2 && aTokens[count - 1].Kind == TToken::tkAnyRun &&
         aTokens[count - 2].Kind == TToken::tkLiteral && aTokens[count - 2].Char == U'.';
}

}  // namespace

bool MatchesMask(std::string_view aName, std::string_view aMask) {
  std::vector<TToken> tokens;
  if (!ParseMask(CodePoints(aMask), tokens)) return false;
  const std::u32string name = CodePoints(aName);
  return MatchTokens(name, tokens, tokens.size()) ||
         (EndsWithDotStar(tokens) && MatchTokens(name, tokens, tokens.size() - 2));
}

bool MatchesMaskList(std::string_view aName, std::string_view aMaskList) {
  while (!aMaskList.empty()) {
    const std::size_t separator = aMaskList.find(';');
    if (MatchesMask(aName, aMaskList.substr(0, separator))) return true;
    if (separator == std::string_view::npos) break;
    aMaskList.remove_prefix(separator + 1);
  }
  return false;
}

}  // namespace vek
