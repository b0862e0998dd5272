// convert: reads a design and writes it in the format that the output name's extension asks for.
#include "cli/tool.h"

#include <memory>

int RunConvert(const ToolRequest& request) {
    if (request.Stone.WholeStone) return ConvertStone(request);
    auto gem = std::make_unique<TGem>();
    if (!LoadDesign(request.Input, *gem)) return ExitFileError;
    return WriteOutput(*gem, request.Output);
}
