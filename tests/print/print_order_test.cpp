// The print order: what the window's controls and the settings change, and
// what a running job keeps as it was.
#include "print/print_order.h"

#include <gtest/gtest.h>

using print::kPackages;
using print::PrintOrder;

TEST(PrintOrder, TickedPackagesComeInPrintingOrderAndCopiesStayInRange) {
    PrintOrder order;
    EXPECT_FALSE(order.anyTicked());
    order.setTicked(kPackages[4], true);
    order.setTicked(kPackages[1], true);
    EXPECT_EQ(order.tickedPackages(), (print::Packages{&kPackages[1], &kPackages[4]}));
    order.setCopies(9);
    EXPECT_EQ(order.copies(), 5);
    order.setCopies(0);
    EXPECT_EQ(order.copies(), 1);
}

TEST(PrintOrder, AFrozenOrderKeepsWhatPrintsButNotTheSelection) {
    PrintOrder order;
    order.setTicked(kPackages[0], true);
    order.setCopies(2);
    int ticked = 0;
    QObject::connect(&order, &PrintOrder::tickedChanged, [&ticked] { ++ticked; });
    order.setFrozen(true);
    order.setTicked(kPackages[0], false);
    order.setTicked(kPackages[2], true);
    order.setCopies(4);
    order.setOptions({imaging::FillMode::Fit, false, true});
    order.setSelected(3);
    EXPECT_EQ(order.tickedPackages(), print::Packages{&kPackages[0]});
    EXPECT_EQ(order.copies(), 2);
    EXPECT_EQ(order.options().fill, print::PrintOptions().fill);
    EXPECT_EQ(order.selected(), 3);
    EXPECT_EQ(ticked, 0);
    order.setFrozen(false);
    order.setTicked(kPackages[2], true);
    EXPECT_EQ(ticked, 1);
}
