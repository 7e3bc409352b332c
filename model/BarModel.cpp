#include "model/BarModel.h"

#include <shellapi.h>
#include <shlwapi.h>

#include <algorithm>

namespace orvale {

std::array<BarDef, kBarCount> barDefs;

namespace {

const std::string& EmptyText() {
    static const std::string empty;
    return empty;
}

BarNode* NewOwnedNode(BarDef& bar) {
    bar.owned.push_back(std::make_unique<BarNode>());
    return bar.owned.back().get();
}

}  // namespace

std::string BarDef::Name() const {
    return nodes && nodes->tag == static_cast<int32_t>(NodeTag::Header) ? nodes->text
                                                                         : std::string();
}

BarNode* BarItem::Attribute(int offset) const {
    BarNode* node = node_;
    for (int i = 0; node && i < offset; ++i) node = node->next;
    return node;
}

const std::string& BarItem::Text(int offset) const {
    if (!IsAttributed()) return EmptyText();
    BarNode* node = Attribute(offset);
    return node ? node->text : EmptyText();
}

int32_t BarItem::Inum() const {
    if (!IsAttributed()) return 0;
    BarNode* node = Attribute(4);
    return node ? node->number : 0;
}

ItemAttributes BarItem::Attributes() const {
    return {Wnd(), Pth(), Ipth(), Inum(), Par(), Dir(), Tt()};
}

BarNode* BarItem::Last() const {
    if (!node_ || !IsAttributed()) return node_;
    BarNode* last = node_;
    for (int i = 0; i < kAttributeCount && last->next; ++i) last = last->next;
    return last;
}

void newBar(BarDef& bar, int32_t number) {
    bar.number = number;
    bar.enabled = 0;
    bar.nodes = nullptr;
    bar.owned.clear();
}

BarNode* appendNode(BarDef& bar) {
    BarNode* node = NewOwnedNode(bar);
    if (!bar.nodes) {
        bar.nodes = node;
    } else {
        BarNode* last = bar.nodes;
        while (last->next) last = last->next;
        last->next = node;
    }
    return node;
}

BarNode* findNode(const BarDef& bar, NodeTag tag) {
    for (BarNode* node = bar.nodes; node; node = node->next) {
        if (node->tag == static_cast<int32_t>(tag)) return node;
    }
    return nullptr;
}

ItemRun makeItem(int32_t type, const ItemAttributes& a) {
    ItemRun run;
    auto add = [&run](NodeTag tag, const std::string& text, int32_t number) {
        auto node = std::make_unique<BarNode>();
        node->tag = static_cast<int32_t>(tag);
        node->text = text;
        node->number = number;
        if (!run.nodes.empty()) run.nodes.back()->next = node.get();
        run.nodes.push_back(std::move(node));
    };
    add(NodeTag::Type, std::string(), type);
    if (type == static_cast<int32_t>(ItemType::Attributed)) {
        add(NodeTag::Wnd, a.wnd, 0);
        add(NodeTag::Pth, a.pth, 0);
        add(NodeTag::Ipth, a.ipth, 0);
        add(NodeTag::Inum, std::string(), a.inum);
        add(NodeTag::Par, a.par, 0);
        add(NodeTag::Dir, a.dir, 0);
        add(NodeTag::Tt, a.tt, 0);
    }
    return run;
}

BarNode* adoptRun(BarDef& bar, ItemRun&& run) {
    BarNode* first = run.First();
    for (auto& node : run.nodes) bar.owned.push_back(std::move(node));
    run.nodes.clear();
    return first;
}

std::vector<BarItem> items(const BarDef& bar) {
    std::vector<BarItem> result;
    BarNode* node = bar.nodes ? bar.nodes->next : nullptr;
    while (node) {
        if (node->tag == static_cast<int32_t>(NodeTag::Type)) {
            BarItem item(node);
            result.push_back(item);
            node = item.Last()->next;
        } else {
            node = node->next;
        }
    }
    return result;
}

void relinkBar(BarDef& bar, const std::string& name, const std::vector<BarNode*>& runs) {
    if (!bar.nodes) {
        BarNode* header = appendNode(bar);
        header->tag = static_cast<int32_t>(NodeTag::Header);
    }
    bar.nodes->text = name;
    BarNode* tail = bar.nodes;
    std::vector<BarNode*> placed;
    for (BarNode* first : runs) {
        // A run given twice would be linked after itself and cut the list short; it joins
        // the bar once, at its first place.
        if (!first || std::find(placed.begin(), placed.end(), first) != placed.end()) continue;
        placed.push_back(first);
        tail->next = first;
        tail = BarItem(first).Last();
    }
    tail->next = nullptr;
}

ItemKind itemKind(const std::string& dir) {
    static const struct {
        const char* marker;
        ItemKind kind;
    } kMarkers[] = {{"mailto:", ItemKind::EMail},
                    {"www:", ItemKind::WebPage},
                    {"macro:", ItemKind::Macro},
                    {"kseq:", ItemKind::KeySequence},
                    {"file:", ItemKind::SelectFile}};
    for (const auto& m : kMarkers) {
        if (dir.find(m.marker) != std::string::npos) return m.kind;
    }
    return ItemKind::Application;
}

const char* kindMarker(ItemKind kind) {
    switch (kind) {
    case ItemKind::EMail: return "mailto:";
    case ItemKind::WebPage: return "www:";
    case ItemKind::Macro: return "macro:";
    case ItemKind::KeySequence: return "kseq:";
    case ItemKind::SelectFile: return "file:";
    case ItemKind::Application: break;
    }
    return "";
}

namespace {

// Icon files named without a folder ("kseq.ico") ship beside the program; look there first
// so that a changed current directory does not lose them.
std::string ResolveIconFile(const std::string& file) {
    if (file.empty() || !PathIsRelativeA(file.c_str())) return file;
    char module[MAX_PATH] = {};
    DWORD length = GetModuleFileNameA(nullptr, module, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return file;
    std::string besideProgram(module, length);
    besideProgram = besideProgram.substr(0, besideProgram.find_last_of('\\') + 1) + file;
    return GetFileAttributesA(besideProgram.c_str()) != INVALID_FILE_ATTRIBUTES ? besideProgram
                                                                                : file;
}

HICON ShellIconOf(const std::string& path, bool small) {
    if (path.empty()) return nullptr;
    SHFILEINFOA info = {};
    UINT flags = SHGFI_ICON | (small ? SHGFI_SMALLICON : SHGFI_LARGEICON);
    if (!SHGetFileInfoA(path.c_str(), 0, &info, sizeof info, flags)) return nullptr;
    return info.hIcon;
}

}  // namespace

HICON loadItemIcon(const BarItem& item, bool small) {
    const std::string& ipth = item.Ipth();
    if (!ipth.empty() && ipth != "default") {
        HICON icon = nullptr;
        std::string file = ResolveIconFile(ipth);
        if (small) {
            ExtractIconExA(file.c_str(), item.Inum(), nullptr, &icon, 1);
        } else {
            ExtractIconExA(file.c_str(), item.Inum(), &icon, nullptr, 1);
        }
        return icon;
    }
    if (HICON icon = ShellIconOf(item.Pth(), small)) return icon;
    char program[MAX_PATH] = {};
    if (item.Pth().empty()) return nullptr;
    auto found = reinterpret_cast<INT_PTR>(FindExecutableA(item.Pth().c_str(), nullptr, program));
    if (found <= 32) return nullptr;
    return ShellIconOf(program, small);
}

}  // namespace orvale
