// SPDX-License-Identifier: Apache-2.0
// Baseline for the main window's event burst
// (bench/app/MainWindowEventBurstBenchmark.cpp): as many plain events, posted
// from another thread with QCoreApplication::postEvent to a plain Qt widget
// and handled by its event(), timed until the last is handled; in the middle
// of the burst a click on a plain push button, timed until its clicked signal
// arrives. The window thread is pumped with the same AfxPumpEvents as the
// program's window, and the click goes through the same kind of synthetic
// mouse input (QTest) as AfxTestClick.
#include "bench/common/BurstShape.h"
#include "framework/testing/TestSeams.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QEvent>
#include <QPushButton>
#include <QTest>
#include <QWidget>

#include <string>
#include <thread>

namespace
{
const QEvent::Type kBurstEvent = static_cast<QEvent::Type>(QEvent::User + 0x200);

class BurstReceiver : public QWidget
{
public:
    bool event(QEvent* e) override
    {
        if (e->type() == kBurstEvent)
        {
            ++handled;
            return true;
        }
        return QWidget::event(e);
    }

    // Window thread only.
    long handled = 0;
};

void PlainQtEventBurst(benchmark::State& state)
{
    for (auto _ : state)
    {
        BurstReceiver receiver;
        auto* button = new QPushButton(QStringLiteral("Select Units..."), &receiver);
        std::int64_t clickHandledNs = 0;
        QObject::connect(button, &QPushButton::clicked,
                         [&clickHandledNs]
                         {
                             if (clickHandledNs == 0)
                             {
                                 clickHandledNs = BurstShape::NowNs();
                             }
                         });
        receiver.resize(200, 100);
        button->setGeometry(10, 10, 180, 30);
        receiver.show();
        AfxPumpEvents();

        BurstShape::ClickArrival click;
        bool clicked = false;
        const auto start = BurstShape::Clock::now();
        std::thread sender(
            [&receiver, &click]
            {
                for (long i = 0; i < BurstShape::kEvents; ++i)
                {
                    QCoreApplication::postEvent(&receiver, new QEvent(kBurstEvent));
                    if (i + 1 == BurstShape::kClickAfter)
                    {
                        click.Arrive();
                    }
                }
            });
        const bool drained = AfxPumpEvents(
            [&]
            {
                if (!clicked && click.Arrived())
                {
                    clicked = true;
                    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier,
                                      button->rect().center());
                    QCoreApplication::processEvents();
                }
                return receiver.handled >= BurstShape::kEvents;
            },
            BurstShape::kTimeoutMs);
        const auto end = BurstShape::Clock::now();
        sender.join();
        if (!drained || clickHandledNs == 0)
        {
            state.SkipWithError(drained ? "the click was never handled"
                                        : "the widget did not handle every event");
            break;
        }
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
        state.counters["click_wait_us"] =
            static_cast<double>(clickHandledNs - click.ArrivedNs()) / 1000.0;
    }
    state.SetItemsProcessed(state.iterations() * BurstShape::kEvents);
}
BENCHMARK(PlainQtEventBurst)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
} // namespace
