#include "library/design_record.h"

std::string KindName(DesignKind kind) {
    switch (kind) {
    case DesignKind::Asc:
        return "asc";
    case DesignKind::Crown:
        return "crown";
    case DesignKind::Pavilion:
        return "pavilion";
    case DesignKind::Pair:
        return "pair";
    }
    return "asc";
}

std::optional<DesignKind> KindNamed(const std::string& name) {
    for (const DesignKind kind : {DesignKind::Asc, DesignKind::Crown, DesignKind::Pavilion, DesignKind::Pair})
        if (KindName(kind) == name) return kind;
    return std::nullopt;
}
