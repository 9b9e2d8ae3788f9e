#include "app/FontEnum.h"

#include <fontconfig/fontconfig.h>

#include <map>
#include <memory>

namespace {
struct PatternDeleter {
    void operator()(FcPattern* p) const { FcPatternDestroy(p); }
};
struct ObjectSetDeleter {
    void operator()(FcObjectSet* s) const { FcObjectSetDestroy(s); }
};
struct FontSetDeleter {
    void operator()(FcFontSet* s) const { FcFontSetDestroy(s); }
};

QString StringOf(FcPattern* p, const char* object)
{
    FcChar8* value = nullptr;
    if (FcPatternGetString(p, object, 0, &value) != FcResultMatch || value == nullptr)
        return {};
    return QString::fromUtf8(reinterpret_cast<const char*>(value));
}

int IntOf(FcPattern* p, const char* object, int fallback)
{
    int value = fallback;
    FcPatternGetInteger(p, object, 0, &value);
    return value;
}

// How far a face is from the plain upright regular face of its family.
int DistanceFromRegular(FcPattern* p)
{
    return std::abs(IntOf(p, FC_WEIGHT, FC_WEIGHT_REGULAR) - FC_WEIGHT_REGULAR) +
           IntOf(p, FC_SLANT, FC_SLANT_ROMAN) * 10 + std::abs(IntOf(p, FC_WIDTH, FC_WIDTH_NORMAL) - FC_WIDTH_NORMAL);
}
}  // namespace

int EnumFaceProc(const FontFamilyInfo& font, int fontType, QStringList* names)
{
    if ((fontType & TRUETYPE_FONTTYPE) != 0 && names != nullptr)
        names->append(font.fullName);
    return 1;
}

std::vector<FontFamilyInfo> EnumFontFamilies()
{
    std::vector<FontFamilyInfo> families;
    if (!FcInit())
        return families;
    std::unique_ptr<FcPattern, PatternDeleter> pattern(FcPatternCreate());
    std::unique_ptr<FcObjectSet, ObjectSetDeleter> objects(
        FcObjectSetBuild(FC_FAMILY, FC_FULLNAME, FC_FONTFORMAT, FC_WEIGHT, FC_SLANT, FC_WIDTH, nullptr));
    if (!pattern || !objects)
        return families;
    std::unique_ptr<FcFontSet, FontSetDeleter> set(FcFontList(nullptr, pattern.get(), objects.get()));
    if (!set)
        return families;

    // One entry per family: the face nearest to regular names it.
    struct Best {
        FontFamilyInfo info;
        int distance = 0;
    };
    std::map<QString, Best> byFamily;
    for (int i = 0; i < set->nfont; ++i) {
        FcPattern* p = set->fonts[i];
        const QString family = StringOf(p, FC_FAMILY);
        if (family.isEmpty())
            continue;
        QString fullName = StringOf(p, FC_FULLNAME);
        if (fullName.isEmpty())
            fullName = family;
        const int type = StringOf(p, FC_FONTFORMAT) == QLatin1String("TrueType") ? TRUETYPE_FONTTYPE : 0;
        const int distance = DistanceFromRegular(p);
        auto it = byFamily.find(family);
        if (it == byFamily.end() || distance < it->second.distance ||
            (distance == it->second.distance && fullName < it->second.info.fullName))
            byFamily[family] = Best{FontFamilyInfo{family, fullName, type}, distance};
    }
    families.reserve(byFamily.size());
    for (auto& [family, best] : byFamily)
        families.push_back(best.info);
    return families;
}

QStringList EnumTrueTypeFullNames()
{
    QStringList names;
    for (const FontFamilyInfo& f : EnumFontFamilies())
        if (!EnumFaceProc(f, f.fontType, &names))
            break;
    return names;
}
