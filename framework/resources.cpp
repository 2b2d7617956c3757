#include "framework/resources.h"

#include "framework/qt/icon.h"

#include <QImage>
#include <QPixmap>

#include <map>
#include <memory>
#include <mutex>
#include <vector>

struct AfxIconResource {
    std::vector<AfxIconImage> images;
    QIcon icon; // made on first use, once the window system exists
    bool made = false;
};

namespace {

struct Registry {
    std::mutex mutex;
    std::map<UINT, std::unique_ptr<AfxIconResource>> icons;
    std::map<UINT, CString> strings;
};

// Never destroyed: handles stay valid until the process has ended.
Registry& TheRegistry() {
    static Registry* registry = new Registry;
    return *registry;
}

QPixmap MakePixmap(const AfxIconImage& image) {
    if (image.xpm)
        return QPixmap(image.xpm);
    if (!image.argb || image.width <= 0 || image.height <= 0)
        return QPixmap();
    QImage pixels(image.width, image.height, QImage::Format_ARGB32);
    for (int y = 0; y < image.height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(pixels.scanLine(y));
        for (int x = 0; x < image.width; ++x)
            line[x] = image.argb[size_t(y) * size_t(image.width) + size_t(x)];
    }
    return QPixmap::fromImage(pixels);
}

} // namespace

void AfxRegisterIcon(UINT id, std::span<const AfxIconImage> images) {
    auto resource = std::make_unique<AfxIconResource>();
    resource->images.assign(images.begin(), images.end());
    Registry& registry = TheRegistry();
    std::lock_guard lock(registry.mutex);
    std::unique_ptr<AfxIconResource>& slot = registry.icons[id];
    if (slot) {
        // Handles given out before stay valid: refill the same resource.
        slot->images = std::move(resource->images);
        slot->made = false;
    } else {
        slot = std::move(resource);
    }
}

HICON AfxLoadIcon(UINT id) {
    Registry& registry = TheRegistry();
    std::lock_guard lock(registry.mutex);
    auto found = registry.icons.find(id);
    return found == registry.icons.end() ? nullptr : found->second.get();
}

QIcon AfxQIcon(HICON hIcon) {
    if (!hIcon)
        return QIcon();
    std::lock_guard lock(TheRegistry().mutex);
    if (!hIcon->made) {
        hIcon->icon = QIcon();
        for (const AfxIconImage& image : hIcon->images) {
            QPixmap pixmap = MakePixmap(image);
            if (!pixmap.isNull())
                hIcon->icon.addPixmap(pixmap);
        }
        hIcon->made = true;
    }
    return hIcon->icon;
}

void AfxRegisterString(UINT id, const CString& text) {
    Registry& registry = TheRegistry();
    std::lock_guard lock(registry.mutex);
    registry.strings[id] = text;
}

BOOL AfxLoadString(UINT id, CString& text) {
    Registry& registry = TheRegistry();
    std::lock_guard lock(registry.mutex);
    auto found = registry.strings.find(id);
    if (found == registry.strings.end()) {
        text.clear();
        return FALSE;
    }
    text = found->second;
    return TRUE;
}
