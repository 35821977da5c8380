# Test programs of ports/.
