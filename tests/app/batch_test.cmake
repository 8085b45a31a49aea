message(STATUS "batch program test: being written")
