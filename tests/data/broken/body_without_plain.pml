<?xml version="1.0" encoding="UTF-8"?>
<message>
  <props>
    <body><Properties>p</Properties></body>
  </props>
</message>
