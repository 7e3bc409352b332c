// The bars, their tagged node lists and the items on them.
//
// A bar is a singly linked list of small tagged nodes; an item is a run of consecutive nodes
// that starts with a Type node. A type-101 (attributed) item is followed by exactly seven
// attribute nodes in a fixed order (wnd, pth, ipth, inum, par, dir, tt); readers step over
// an item by position and never search for tags inside it, so every writer keeps that shape.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace orvale {

enum class NodeTag : int32_t {
    Type = 1,    // number = the item's type code (the task bar: its orientation)
    Wnd = 2,
    Pth = 3,
    Ipth = 4,
    Inum = 5,    // number
    Par = 6,
    Dir = 7,
    Header = 8,  // text = bar name, number = orientation (0 vertical, else horizontal)
    Tt = 9,
};

struct BarNode {
    NodeTag tag{};
    std::wstring text;
    int32_t number = 0;
    BarNode* next = nullptr;  // not owning: the bar owns its nodes
};

// Item type codes as stored in Type nodes and in the settings file.
enum class ItemType : int32_t {
    None = 0,  // ends an item list in the settings file
    Attributed = 101,
    StartMenu = 102,
    SwitchWindows = 103,
    NextDocument = 104,
    PreviousDocument = 105,
    MinimizeWindow = 106,
    MaximizeWindow = 107,
    AlwaysOnTop = 108,
    Separator = 109,
    CloseApplication = 110,
};

// The kind of an attributed item, derived from the marker in its `dir`.
enum class ItemKind { EMail, WebPage, Macro, KeySequence, SelectFile, Application };

// The number of attribute nodes after an attributed item's Type node.
constexpr int kAttributeCount = 7;

// The attribute values of one attributed item.
struct ItemAttributes {
    std::wstring wnd, pth, ipth;
    int32_t inum = 0;
    std::wstring par, dir, tt;
};

// A run of nodes not yet part of any bar (from makeItem). It owns its nodes until a bar
// adopts them.
struct ItemRun {
    std::vector<std::unique_ptr<BarNode>> nodes;
    BarNode* First() const { return nodes.empty() ? nullptr : nodes.front().get(); }
};

struct BarDef {
    int32_t number = 0;   // 0 the task bar, 1-32 the menu bars
    int32_t enabled = 0;  // 0 or 1
    BarNode* nodes = nullptr;

    // Every node ever linked into this bar. Nodes that leave the bar (relinkBar) stay alive
    // until the bar itself goes, so views that still point at them never dangle.
    std::vector<std::unique_ptr<BarNode>> owned;

    // The orientation number: the header's (menu bar) or the single Type node's (task bar).
    int32_t Orientation() const { return nodes ? nodes->number : 0; }
    bool IsHorizontal() const { return Orientation() != 0; }
    std::wstring Name() const;
};

// A view of one item: its Type node and the attribute nodes that follow it by position.
class BarItem {
public:
    explicit BarItem(BarNode* typeNode = nullptr) : node_(typeNode) {}

    BarNode* Node() const { return node_; }
    explicit operator bool() const { return node_ != nullptr; }
    // The type code as stored: a code without a name (another version's) passes unchanged.
    ItemType Type() const { return node_ ? static_cast<ItemType>(node_->number) : ItemType::None; }
    bool IsAttributed() const { return Type() == ItemType::Attributed; }

    // Attributes of a type-101 item; empty (or 0) when the node is missing.
    const std::wstring& Wnd() const { return Text(1); }
    const std::wstring& Pth() const { return Text(2); }
    const std::wstring& Ipth() const { return Text(3); }
    int32_t Inum() const;
    const std::wstring& Par() const { return Text(5); }
    const std::wstring& Dir() const { return Text(6); }
    const std::wstring& Tt() const { return Text(7); }
    ItemAttributes Attributes() const;

    // The node `offset` places after the Type node (1 = wnd ... 7 = tt), or null.
    BarNode* Attribute(int offset) const;
    // The last node of the run (the tt node of a type-101 item, else the Type node).
    BarNode* Last() const;

private:
    const std::wstring& Text(int offset) const;
    BarNode* node_;
};

// ---- The model's global tables ----------------------------------------------------------

constexpr int kBarCount = 33;      // bar 0 the task bar, 1-3 global, 4-32 context
constexpr int kMenuBarCount = 32;
constexpr int kFirstContextBar = 4;
// A bar window has this many button slots and shows at most the first this many items; the bar
// editor adds no item past it.
constexpr int kMaxBarButtons = 64;

extern std::array<BarDef, kBarCount> barDefs;

// ---- Operations --------------------------------------------------------------------------

// Resets `bar` to number `number`, disabled, with an empty list.
void newBar(BarDef& bar, int32_t number);
// Links a blank node after the last node of the bar and returns it for the caller to fill.
BarNode* appendNode(BarDef& bar);
// The first node of the bar with that tag, or null.
BarNode* findNode(const BarDef& bar, NodeTag tag);
// A detached item run: a Type node, and for 101 the seven attribute nodes in order.
ItemRun makeItem(ItemType type, const ItemAttributes& attributes = {});
// Writes the seven attributes into a type-101 item's nodes, in place.
void setItemAttributes(const BarItem& item, const ItemAttributes& attributes);
// Takes ownership of a detached run's nodes; returns its first node for relinkBar.
BarNode* adoptRun(BarDef& bar, ItemRun&& run);
// The bar's items in order, from the node after the header.
std::vector<BarItem> items(const BarDef& bar);
// Sets the header's name and rebuilds the list as header, then each run (given by its Type
// node) in order. Runs not given are no longer part of the bar.
void relinkBar(BarDef& bar, const std::wstring& name, const std::vector<BarNode*>& runs);

// The kind marker test: the first of "mailto:", "www:", "macro:", "kseq:", "file:" found
// anywhere in `dir` (case-sensitive) decides; none gives Application.
ItemKind itemKind(const std::wstring& dir);
const wchar_t* kindMarker(ItemKind kind);

// Where an icon file named without a folder ("kseq.ico") is read from: beside the program when
// it is there, so that a changed current directory does not lose it; other names unchanged.
std::wstring ResolveIconFile(const std::wstring& file);

// The icon rule of an attributed item: icon `inum` of `ipth` unless `ipth` is empty or
// exactly "default", else the shell's icon of `pth`, else that of the program that opens
// `pth`. Returns an icon `size` pixels square that the caller owns (DestroyIcon), or null
// when none resolves.
HICON loadItemIcon(const BarItem& item, int size);
// The same at the system's small (16 x 16 at 96 DPI) or large icon size.
HICON loadItemIcon(const BarItem& item, bool small);

}  // namespace orvale
