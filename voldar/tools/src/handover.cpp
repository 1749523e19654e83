#include "tools/handover.h"

namespace tools::handover {

namespace {

struct HandOver
{
    QString target;
    QString result;
    bool pending = false;
};

HandOver& state()
{
    static HandOver values;
    return values;
}

} // namespace

void setTransferTarget(const QString& target)
{
    state().target = target;
}

QString transferTarget()
{
    return state().target;
}

void setCalculatorResult(const QString& result)
{
    state().result = result;
    state().pending = true;
}

QString calculatorResult()
{
    return state().result;
}

std::optional<QString> takeCalculatorResult()
{
    if (!state().pending)
        return std::nullopt;
    state().pending = false;
    return state().result;
}

} // namespace tools::handover
