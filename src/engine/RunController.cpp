#include "engine/RunController.h"

TRunController::TRunController()
    : deals_(std::make_unique<TDeals>()), rules_(CreateConditionRules()) {}

TRunController::~TRunController() { Reclaim(); }

TStatus TRunController::Prepare(TGeneratorInputs inputs, TGeneratorOwner& owner) {
    if (generator_) return TStatus::Busy("генерация уже идёт");
    inputs.Rules = rules_.get();
    inputs.Source = &random_;
    auto generator = std::make_unique<TGenerator>(owner, *deals_, std::move(inputs));
    if (!generator->PrepareCondition()) {
        errorPosition_ = generator->ErrorPosition();
        return TStatus::Condition({}, errorPosition_);
    }
    generator_ = std::move(generator);
    return TStatus::Ok();
}

void TRunController::Start() {
    if (generator_) generator_->Start();
}

void TRunController::Stop() {
    if (generator_) generator_->Terminate();
}

void TRunController::Reclaim() {
    if (!generator_) return;
    generator_->Terminate();
    generator_->Wait();
    generator_.reset();
}
