#include "download/ScreenWrite.h"
#include "download/ClosingSequence.h"
#include "download/DataStep.h"
#include "download/DownloadChain.h"
#include "download/WriteMarks.h"
#include "link/LineSession.h"
#include "screen/ScreenBuilder.h"
#include "screen/ScreenModel.h"

namespace z5 {

ScreenWrite::ScreenWrite(DownloadChain &chain, ScreenBuilder &builder, ScreenModel &model)
    : chain_(chain), builder_(builder), model_(model) {}

QString ScreenWrite::fitQuestion(const ScreenModel &model, const QImage &preview) {
    if (preview.isNull() || model.isRunLength()) return QString();
    return ScreenBuilder::packedCutQuestion(preview.width(), preview.height());
}

WriteStart ScreenWrite::startScreenWrite(const QImage &preview) {
    WriteSequence sequence;
    sequence.mark(0, WriteMarks::kDesignerHidden);
    // The closing opens before the build: a picture that is refused still gets
    // the designer back and the alarm texts sent when the closing runs.
    ClosingSequence::append(sequence, kIntervalMs, chain_.tables());
    ScreenBuilder *builder = &builder_;
    ScreenModel *model = &model_;
    DataStep::appendScreen(sequence, kIntervalMs, [builder, model, preview] {
        const ScreenBuilder::Result result = builder->build(*model, preview);
        WriteBlock block;
        if (!result.ok()) {
            block.problem = result.message;
            return block;
        }
        block.bytes = result.stream;
        block.checkedLength = ScreenBuilder::kScreenDataLength;
        return block;
    });
    WriteStart start;
    start.reply = chain_.line().enqueue(std::move(sequence));
    return start;
}

} // namespace z5
