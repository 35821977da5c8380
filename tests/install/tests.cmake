# Test programs of install/.
