<?xml version="1.0" encoding="UTF-8"?>
<message>
  <props>
    <email>
      <completed>false</completed><delegated>false</delegated><notify-completed>false</notify-completed>
      <forwarded></forwarded>
    </email>
  </props>
</message>
