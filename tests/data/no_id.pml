<?xml version="1.0"?>
<message>
  <props>
    <body><plain></plain></body>
  </props>
</message>
