// SPDX-License-Identifier: MIT
// The source file through which the precompiled headers are compiled.
