#include "download/ScreenWrite.h"
#include "download/DownloadChain.h"
#include "link/LineSession.h"
#include "model/Clock.h"
#include "model/Prompts.h"
#include "screen/ScreenBuilder.h"
#include "screen/ScreenModel.h"

namespace z5 {

ScreenWrite::ScreenWrite(DownloadChain &chain, ScreenBuilder &builder, ScreenModel &model)
    : chain_(chain), builder_(builder), model_(model), timer_(chain.clock().createTimer()) {
    timer_->setOnTimeout([this] { onBuildTimer(); });
    chain_.addWriteTimer(timer_.get());
}

ScreenWrite::~ScreenWrite() { chain_.removeWriteTimer(timer_.get()); }

bool ScreenWrite::isBusy() const { return timer_->isActive(); }

bool ScreenWrite::startScreenWrite(const QImage &preview) {
    if (!chain_.line().mayStart() || chain_.isBusy()) return false;
    // A packed picture whose bottom rows the stream cannot carry is named before
    // anything starts; the user may still write what fits. An empty preview (a
    // black screen) has nothing of the user's to lose.
    if (!preview.isNull() && !model_.isRunLength()) {
        const QString question = ScreenBuilder::packedCutQuestion(preview.width(), preview.height());
        if (!question.isEmpty()) {
            if (!chain_.prompts().confirm(question)) return false;
            // The question waited for the user: the line may have been taken meanwhile.
            if (!chain_.line().mayStart() || chain_.isBusy()) return false;
        }
    }
    if (!chain_.line().beginWrite()) return false;
    preview_ = preview;
    emit chain_.progress().designerHidden();
    timer_->start(kIntervalMs);
    return true;
}

void ScreenWrite::onBuildTimer() {
    timer_->stop();
    // The closing opens before the build: a picture that is refused still gets
    // the designer back and the alarm texts sent when the closing runs.
    chain_.closing().start();
    const ScreenBuilder::Result result = builder_.build(model_, preview_);
    if (!result.ok()) {
        chain_.prompts().message(result.message);
        emit chain_.progress().tableRefused(DownloadProgress::kScreenImage, result.message);
        chain_.line().noteWriteFailure(result.message, true);
        return;
    }
    chain_.dataStep().loadScreen(result.stream, ScreenBuilder::kScreenDataLength);
    chain_.dataStep().sendScreenHeader();
}

} // namespace z5
