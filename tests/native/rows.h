#pragma once
// Cases as table rows: each row's `want` against what `got` makes of the row; a failure names
// the row by its place.
#include <gtest/gtest.h>

#include <cstddef>

namespace plumbo {

template <class Row, size_t N> void ExpectRows(const Row (&rows)[N], auto got) {
    for (size_t i = 0; i < N; ++i) EXPECT_EQ(got(rows[i]), rows[i].want) << "row " << i;
}

}  // namespace plumbo
