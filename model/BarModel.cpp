#include "model/BarModel.h"

#include <shellapi.h>
#include <shlwapi.h>

#include <algorithm>

#include "win/SizedIcons.h"

namespace orvale {

std::array<BarDef, kBarCount> barDefs;

namespace {

const std::wstring& EmptyText() {
    static const std::wstring empty;
    return empty;
}

BarNode* NewOwnedNode(BarDef& bar) {
    bar.owned.push_back(std::make_unique<BarNode>());
    return bar.owned.back().get();
}

}  // namespace

std::wstring BarDef::Name() const {
    return nodes && nodes->tag == NodeTag::Header ? nodes->text
                                                                         : std::wstring();
}

BarNode* BarItem::Attribute(int offset) const {
    BarNode* node = node_;
    for (int i = 0; node && i < offset; ++i) node = node->next;
    return node;
}

const std::wstring& BarItem::Text(int offset) const {
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
        if (node->tag == tag) return node;
    }
    return nullptr;
}

ItemRun makeItem(ItemType type, const ItemAttributes& a) {
    ItemRun run;
    auto add = [&run](NodeTag tag, const std::wstring& text, int32_t number) {
        auto node = std::make_unique<BarNode>();
        node->tag = tag;
        node->text = text;
        node->number = number;
        if (!run.nodes.empty()) run.nodes.back()->next = node.get();
        run.nodes.push_back(std::move(node));
    };
    add(NodeTag::Type, std::wstring(), static_cast<int32_t>(type));
    if (type == ItemType::Attributed) {
        add(NodeTag::Wnd, a.wnd, 0);
        add(NodeTag::Pth, a.pth, 0);
        add(NodeTag::Ipth, a.ipth, 0);
        add(NodeTag::Inum, std::wstring(), a.inum);
        add(NodeTag::Par, a.par, 0);
        add(NodeTag::Dir, a.dir, 0);
        add(NodeTag::Tt, a.tt, 0);
    }
    return run;
}

void setItemAttributes(const BarItem& item, const ItemAttributes& a) {
    if (!item.IsAttributed()) return;
    const std::wstring* texts[] = {&a.wnd, &a.pth, &a.ipth, nullptr, &a.par, &a.dir, &a.tt};
    for (int offset = 1; offset <= kAttributeCount; ++offset) {
        BarNode* node = item.Attribute(offset);
        if (!node) return;
        if (texts[offset - 1]) {
            node->text = *texts[offset - 1];
        } else {
            node->number = a.inum;
        }
    }
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
        if (node->tag == NodeTag::Type) {
            BarItem item(node);
            result.push_back(item);
            node = item.Last()->next;
        } else {
            node = node->next;
        }
    }
    return result;
}

void relinkBar(BarDef& bar, const std::wstring& name, const std::vector<BarNode*>& runs) {
    if (!bar.nodes) {
        BarNode* header = appendNode(bar);
        header->tag = NodeTag::Header;
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

ItemKind itemKind(const std::wstring& dir) {
    static const struct {
        const wchar_t* marker;
        ItemKind kind;
    } kMarkers[] = {{L"mailto:", ItemKind::EMail},
                    {L"www:", ItemKind::WebPage},
                    {L"macro:", ItemKind::Macro},
                    {L"kseq:", ItemKind::KeySequence},
                    {L"file:", ItemKind::SelectFile}};
    for (const auto& m : kMarkers) {
        if (dir.find(m.marker) != std::wstring::npos) return m.kind;
    }
    return ItemKind::Application;
}

const wchar_t* kindMarker(ItemKind kind) {
    switch (kind) {
    case ItemKind::EMail: return L"mailto:";
    case ItemKind::WebPage: return L"www:";
    case ItemKind::Macro: return L"macro:";
    case ItemKind::KeySequence: return L"kseq:";
    case ItemKind::SelectFile: return L"file:";
    case ItemKind::Application: break;
    }
    return L"";
}

// Icon files named without a folder ("kseq.ico") ship beside the program; look there first
// so that a changed current directory does not lose them.
std::wstring ResolveIconFile(const std::wstring& file) {
    if (file.empty() || !PathIsRelativeW(file.c_str())) return file;
    wchar_t module[MAX_PATH] = {};
    DWORD length = GetModuleFileNameW(nullptr, module, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return file;
    std::wstring besideProgram(module, length);
    besideProgram = besideProgram.substr(0, besideProgram.find_last_of('\\') + 1) + file;
    return GetFileAttributesW(besideProgram.c_str()) != INVALID_FILE_ATTRIBUTES ? besideProgram
                                                                                : file;
}

HICON loadItemIcon(const BarItem& item, int size) {
    const std::wstring& ipth = item.Ipth();
    if (!ipth.empty() && ipth != L"default") {
        return win::LoadFileIcon(ResolveIconFile(ipth), item.Inum(), size);
    }
    if (HICON icon = win::LoadShellIcon(item.Pth(), size)) return icon;
    wchar_t program[MAX_PATH] = {};
    if (item.Pth().empty()) return nullptr;
    auto found = reinterpret_cast<INT_PTR>(FindExecutableW(item.Pth().c_str(), nullptr, program));
    if (found <= 32) return nullptr;
    return win::LoadShellIcon(program, size);
}

HICON loadItemIcon(const BarItem& item, bool small) {
    return loadItemIcon(item, GetSystemMetrics(small ? SM_CXSMICON : SM_CXICON));
}

}  // namespace orvale
