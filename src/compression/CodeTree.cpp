#include "compression/CodeTree.h"

#include <algorithm>
#include <cstddef>

namespace penlark {
namespace {

// The nodes without a parent yet, in index order, each with its weight beside it.
struct Parentless {
  std::array<std::int16_t, 256> nodes{};
  std::array<std::int32_t, 256> weights{};
  std::size_t count = 0;

  void Add(std::int16_t node, std::int32_t weight) {
    nodes[count] = node;
    weights[count] = weight;
    ++count;
  }
  void Remove(std::size_t position) {
    std::copy(nodes.data() + position + 1, nodes.data() + count, nodes.data() + position);
    std::copy(weights.data() + position + 1, weights.data() + count, weights.data() + position);
    --count;
  }
};

// The positions among the parentless nodes of the two to merge next. The first two are picked;
// every later one strictly lighter than the heavier pick replaces it, and when the picks weigh
// the same the first pick counts as the heavier.
std::array<std::size_t, 2> PickPair(const Parentless& parentless) {
  std::array<std::size_t, 2> picks = {0, 1};
  std::array<std::int32_t, 2> weights = {parentless.weights[0], parentless.weights[1]};
  for (std::size_t i = 2; i < parentless.count; ++i) {
    const std::size_t heavier = weights[0] >= weights[1] ? 0 : 1;
    if (parentless.weights[i] < weights[heavier]) {
      picks[heavier] = i;
      weights[heavier] = parentless.weights[i];
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
  Parentless parentless;
  for (std::size_t value = 0; value < counts.size(); ++value) {
    if (counts[value] > 0) {
      parentless.Add(static_cast<std::int16_t>(tree.size()), counts[value]);
      tree.push_back({.Value = static_cast<std::int16_t>(value), .Weight = counts[value]});
    }
  }
  while (parentless.count >= 2) {
    const auto [first, second] = PickPair(parentless);
    const auto merged = static_cast<std::int16_t>(tree.size());
    Node& a = tree[static_cast<std::size_t>(parentless.nodes[first])];
    Node& b = tree[static_cast<std::size_t>(parentless.nodes[second])];
    a.Parent = merged;
    b.Parent = merged;
    tree.push_back({.Child1 = parentless.nodes[second],
                    .Child0 = parentless.nodes[first],
                    .Weight = a.Weight + b.Weight});
    // The later position first, so that the earlier one stays where it is.
    parentless.Remove(std::max(first, second));
    parentless.Remove(std::min(first, second));
    // The merged node has the highest index: it goes last.
    parentless.Add(merged, tree.back().Weight);
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
