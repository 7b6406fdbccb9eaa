// The target that compiles cmake/qtpch.h once for every other target; it holds no code.
