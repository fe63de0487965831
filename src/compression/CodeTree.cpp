#include "compression/CodeTree.h"

#include <cstddef>

namespace penlark {
namespace {

// The two parentless nodes to merge next. The first two parentless nodes in index order are
// picked; every later one strictly lighter than the heavier pick replaces it, and when the
// picks weigh the same the first pick counts as the heavier.
std::array<std::int16_t, 2> PickPair(const std::vector<Node>& tree) {
  std::array<std::int16_t, 2> picks = {-1, -1};
  for (std::size_t i = 0; i < tree.size(); ++i) {
    if (tree[i].Parent != -1) {
      continue;
    }
    const auto index = static_cast<std::int16_t>(i);
    if (picks[0] == -1) {
      picks[0] = index;
    } else if (picks[1] == -1) {
      picks[1] = index;
    } else {
      std::int16_t& heavier = tree[static_cast<std::size_t>(picks[0])].Weight >=
                                      tree[static_cast<std::size_t>(picks[1])].Weight
                                  ? picks[0]
                                  : picks[1];
      if (tree[i].Weight < tree[static_cast<std::size_t>(heavier)].Weight) {
        heavier = index;
      }
    }
  }
  return picks;
}

void AssignFrom(const std::vector<Node>& tree, std::int16_t index, Code path, CodeTable& codes) {
  const Node& node = tree[static_cast<std::size_t>(index)];
  if (node.Value >= 0) {
    codes[static_cast<std::size_t>(node.Value)] = path;
    return;
  }
  const auto depth = static_cast<std::uint8_t>(path.BitCount + 1);
  AssignFrom(tree, node.Child0, {path.Bits, depth}, codes);
  AssignFrom(tree, node.Child1, {path.Bits | (std::uint64_t{1} << path.BitCount), depth}, codes);
}

}  // namespace

std::vector<Node> BuildCodeTree(const ByteCounts& counts) {
  std::vector<Node> tree;
  tree.reserve(2 * counts.size() - 1);
  for (std::size_t value = 0; value < counts.size(); ++value) {
    if (counts[value] > 0) {
      tree.push_back({.Value = static_cast<std::int16_t>(value), .Weight = counts[value]});
    }
  }
  for (std::size_t parentless = tree.size(); parentless >= 2; --parentless) {
    const auto [first, second] = PickPair(tree);
    const auto merged = static_cast<std::int16_t>(tree.size());
    Node& a = tree[static_cast<std::size_t>(first)];
    Node& b = tree[static_cast<std::size_t>(second)];
    a.Parent = merged;
    b.Parent = merged;
    tree.push_back({.Child1 = second, .Child0 = first, .Weight = a.Weight + b.Weight});
  }
  return tree;
}

CodeTable AssignCodes(const std::vector<Node>& tree) {
  CodeTable codes{};
  if (!tree.empty()) {
    AssignFrom(tree, static_cast<std::int16_t>(tree.size() - 1), {}, codes);
  }
  return codes;
}

}  // namespace penlark
